// What every page of the settings window shares: a child dialog on white, in
// the page font, whose controls are placed from dialog units and bound to their
// IDs, and whose own OK and Cancel do nothing (they are the window's).
#pragma once

#include <QPointer>
#include <QString>
#include <map>

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
    // `dialog` is the settings window, the page's parent while it is created.
    explicit CSettingsPage(platform::Window* dialog);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Moves the created page into `area` (the tab control's page area), hidden.
    void PlaceIn(QWidget* area, const QRect& rect);

    // The control bound to `id`, null when none.
    QWidget* GetDlgItem(UINT id) const;
    template <typename T>
    T* GetDlgItem(UINT id) const {
        return qobject_cast<T*>(GetDlgItem(id));
    }

  protected:
    void OnOK() override {}
    void OnCancel() override {}

    // Drawn over the white background at every paint.
    virtual void PaintPage(QPainter& p) { (void)p; }

    // Controls at template positions (dialog units), bound to their IDs.
    CStaticEx* AddHeading(UINT id, const QString& text, int x, int y, int cx, int cy);
    QLabel* AddLabel(const QString& text, int x, int y, int cx, int cy);
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

    // A bound button's click reaches the page as WM_COMMAND (id, BN_CLICKED).
    void BindControl(QWidget* control, UINT id);

  private:
    void placeControl(QWidget* w, int x, int y, int cx, int cy, Fit fit);

    std::map<UINT, QPointer<QWidget>> m_controls;
};

}  // namespace setup
