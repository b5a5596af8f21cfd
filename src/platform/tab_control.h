// The tab control of the settings window: a row of tabs over a framed page
// area. Pages are placed by their owner inside it; the control only reports the
// user's choice of tab.
#pragma once

#include <QWidget>

class QTabBar;

namespace platform {

class TabControl : public QWidget {
    Q_OBJECT
  public:
    explicit TabControl(QWidget* parent = nullptr);

    int InsertItem(int index, const QString& text);
    int GetItemCount() const;
    int GetCurSel() const;
    // Selects without notifying, as on Windows; answers the previous selection.
    int SetCurSel(int index);
    // The tab's rectangle in the control's coordinates.
    QRect GetItemRect(int index) const;
    QTabBar* tabBar() const { return m_bar; }
    // The width all tabs need side by side.
    int TabRowWidth() const;

  signals:
    // The user chose another tab (TCN_SELCHANGE).
    void selChange();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    QRect paneRect() const;

    QTabBar* m_bar;
    bool m_selecting = false;
};

}  // namespace platform
