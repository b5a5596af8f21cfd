// Standard Qt controls bound to an ID post WM_COMMAND with the Windows
// notification code, as a dialog's child controls do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <vector>

#include "platform/window.h"

namespace {

class Page : public platform::Window {
  public:
    Page() : Window(nullptr, Placement::Child) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) commands.push_back({LOWORD(wParam), HIWORD(wParam)});
        return Window::WindowProc(message, wParam, lParam);
    }
    std::vector<std::pair<uint16_t, uint16_t>> take() {
        QCoreApplication::sendPostedEvents(this);
        auto r = std::move(commands);
        commands.clear();
        return r;
    }
    std::vector<std::pair<uint16_t, uint16_t>> commands;
};

using Commands = std::vector<std::pair<uint16_t, uint16_t>>;

TEST(ControlBinding, EachKindOfControlPostsItsNotification) {
    Page page;
    auto* button = new QPushButton("Check now", &page);
    auto* check = new QCheckBox("Start minimized", &page);
    auto* radio = new QRadioButton("Weekly", &page);
    auto* combo = new QComboBox(&page);
    combo->addItems({"Never", "Daily", "Weekly"});
    auto* edit = new QLineEdit(&page);
    auto* spin = new QSpinBox(&page);
    spin->setRange(0, 5000);
    auto* list = new QListWidget(&page);
    for (const char* row : {"GPU clock", "Memory clock"}) {
        auto* item = new QListWidgetItem(row, list);
        item->setCheckState(Qt::Unchecked);
    }
    ASSERT_TRUE(page.BindControl(button, 1010));
    ASSERT_TRUE(page.BindControl(check, 1004));
    ASSERT_TRUE(page.BindControl(radio, 1005));
    ASSERT_TRUE(page.BindControl(combo, 1009));
    ASSERT_TRUE(page.BindControl(edit, 1066));
    ASSERT_TRUE(page.BindControl(spin, 1019));
    ASSERT_TRUE(page.BindControl(list, 1020));
    page.resize(300, 300);
    page.show();

    button->click();
    EXPECT_TRUE(page.commands.empty()) << "posted, not sent";
    check->click();
    radio->click();
    EXPECT_EQ(page.take(), (Commands{{1010, BN_CLICKED}, {1004, BN_CLICKED}, {1005, BN_CLICKED}}));
    EXPECT_TRUE(check->isChecked());

    combo->setCurrentIndex(1);
    EXPECT_TRUE(page.take().empty()) << "a selection made by code is no user's choice";
    emit combo->activated(2);
    EXPECT_EQ(page.take(), (Commands{{1009, CBN_SELCHANGE}}));

    edit->insert("a");
    edit->insert("b");
    edit->setText("/tmp/log.txt");
    EXPECT_EQ(page.take(), (Commands{{1066, EN_CHANGE}, {1066, EN_CHANGE}, {1066, EN_CHANGE}}));
    spin->stepUp();
    EXPECT_EQ(page.take(), (Commands{{1019, EN_CHANGE}}));

    list->setCurrentRow(1);
    list->item(0)->setCheckState(Qt::Checked);
    list->item(0)->setToolTip("no notification for this");
    EXPECT_EQ(page.take(), (Commands{{1020, LBN_SELCHANGE}, {1020, LBN_SELCHANGE}}));
}

TEST(ControlBinding, GetDlgItemFindsBoundControlsAndForgetsDeletedOnes) {
    Page page;
    auto* check = new QCheckBox(&page);
    page.BindControl(check, 1004);
    EXPECT_EQ(page.GetDlgItem(1004), check);
    EXPECT_EQ(page.GetDlgItem<QCheckBox>(1004), check);
    EXPECT_EQ(page.GetDlgItem<QLineEdit>(1004), nullptr);
    EXPECT_EQ(page.GetDlgItem(1005), nullptr);

    auto* frame = new QWidget(&page);
    EXPECT_FALSE(page.BindControl(frame, 1100)) << "no notification for a plain widget";
    EXPECT_EQ(page.GetDlgItem(1100), frame);
    EXPECT_FALSE(page.BindControl(nullptr, 1101));

    delete check;
    EXPECT_EQ(page.GetDlgItem(1004), nullptr);

    // A destroyed window hears nothing more from its controls.
    auto* button = new QPushButton(&page);
    page.BindControl(button, 1010);
    page.DestroyWindow();
    button->click();
    EXPECT_TRUE(page.take().empty());
}

}  // namespace
