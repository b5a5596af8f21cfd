// What every page of the settings window shares: a child dialog on white, in
// the page font, whose controls are placed from dialog units and bound to their
// IDs, and whose own OK and Cancel do nothing (they are the window's).
#pragma once

#include <QPointer>
#include <QString>
#include <vector>

#include "platform/window.h"
#include "setup/page_layout.h"

class CStaticEx;
class QCheckBox;
class QComboBox;
class QLabel;
class QPainter;
class QPushButton;
class QRadioButton;

namespace setup {

class CSettingsPage : public platform::Window {
    Q_OBJECT
  public:
    // A child of `dialog`, the settings window, while it is created; the window
    // then places it in its tab control.
    explicit CSettingsPage(platform::Window* dialog);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The templates' controls end at this many units of the page font, a
    // margin short of the page's own template width.
    static constexpr int kTemplateRight = 232;
    static constexpr int kTemplateWidth = 239;

  protected:
    void OnOK() override {}
    void OnCancel() override {}

    // Drawn over the white background at every paint.
    virtual void PaintPage(QPainter& p) { (void)p; }

    // Controls at template positions (dialog units), bound to their IDs.
    CStaticEx* AddHeading(UINT id, const QString& text, int x, int y, int cx, int cy);
    QLabel* AddLabel(const QString& text, int x, int y, int cx, int cy);
    // Moves `label` up or down so that its middle is the middle of `control`, the
    // one it names on the same row (a drop-down is taller than its template row).
    static void CentreOn(QWidget* label, const QWidget* control);
    QCheckBox* AddCheckBox(UINT id, const QString& text, int x, int y, int cx, int cy);
    QRadioButton* AddRadioButton(UINT id, const QString& text, int x, int y, int cx, int cy);
    QComboBox* AddDropDownList(UINT id, int x, int y, int cx);
    QPushButton* AddPushButton(UINT id, const QString& text, int x, int y, int cx, int cy);
    // How a control at the template's right edge follows the page's right
    // margin when the page is wider than its template: stretched (headings,
    // lists, paths) or moved (buttons and fields that keep their width).
    enum class Follow { Stretch, Move };
    void FollowRightMargin(QWidget* control, Follow how);
    // Any other control.
    template <typename T>
    T* AddControl(T* control, UINT id, int x, int y, int cx, int cy, Fit fit = Fit::Template) {
        placeControl(control, x, y, cx, cy, fit);
        BindControl(control, id);
        return control;
    }

  private:
    void placeControl(QWidget* w, int x, int y, int cx, int cy, Fit fit);
    // Pixels the page is wider than its template (0 when it is not).
    int ExtraWidth() const;
    void ApplyFollowers();

    struct Follower {
        QPointer<QWidget> control;
        Follow how;
        int left;  // template place, in pixels
        int width;
    };
    std::vector<Follower> m_followers;
};

}  // namespace setup
