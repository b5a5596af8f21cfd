// What every page of the settings window shares: a child dialog on white, in
// the page font, whose controls are placed from dialog units and bound to their
// IDs, and whose own OK and Cancel do nothing (they are the window's).
#pragma once

#include <QString>

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
    // Any other control.
    template <typename T>
    T* AddControl(T* control, UINT id, int x, int y, int cx, int cy, Fit fit = Fit::Template) {
        placeControl(control, x, y, cx, cy, fit);
        BindControl(control, id);
        return control;
    }

  private:
    void placeControl(QWidget* w, int x, int y, int cx, int cy, Fit fit);
};

}  // namespace setup
