// The base of every window-less skinned control: a rectangle on its owner window,
// drawn into the owner's composed image and fed the owner's mouse and timer
// messages by the dispatcher OnMessage. Controls report to the owner with posted
// WM_COMMAND messages, exactly as child window controls would.
#pragma once

#include <QPainter>
#include <QString>

#include "platform/accessible_item.h"
#include "platform/win_window.h"
#include "skin/recording.h"

class CDialogBase;

// Travels only from a clicked control to its link target, never as a window message.
constexpr UINT WM_CTRL_LINK = WM_USER + 100;

// High words of the WM_COMMAND notifications.
constexpr uint16_t NOTIFY_CLICK = 0;
constexpr uint16_t NOTIFY_VALUE_CHANGED = 1;
constexpr uint16_t NOTIFY_TIMER_TICK = 0x0113;

class CControls {
  public:
    CControls() = default;
    virtual ~CControls() = default;
    CControls(const CControls&) = delete;
    CControls& operator=(const CControls&) = delete;

    // Attaches the control to the end of the owner's list, then runs Init().
    void Create(CDialogBase* pOwner, UINT nID, const RECT& rect, const QString& text = {},
                const QString& image = {});
    void Create(CDialogBase* pOwner, CControls* pLinkTarget, UINT nID, const RECT& rect,
                const QString& text = {}, const QString& image = {});

    // WM_PAINT, WM_TIMER, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP from the owner,
    // WM_CTRL_LINK from a linked control. Always true.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // SW_SHOW shows, anything else hides; repaints the owner at once.
    void ShowControl(int nCmdShow);
    bool IsShown() const { return m_nShowCmd == SW_SHOW; }

    virtual void Init() {}
    // Paints into the owner's composed image (pDC is a painter on it).
    virtual void Draw(QPainter* pDC) { (void)pDC; }
    // A key of everything Draw depends on (pictures included), for a control
    // that can tell it without drawing; 0 for one that cannot, which its owner
    // then draws into a recorder at every paint to see whether it changed.
    virtual uint64_t DrawState() const { return 0; }
    // What Draw() draws on a window of `surface` pixels, told without drawing:
    // its operations in order, each with the pixels it may touch and a key that
    // changes whenever those pixels may. Asked for a DrawState() its owner has
    // not seen before. False for a control that cannot tell, which its owner
    // then draws into a recorder.
    virtual bool DescribeDrawing(QSize surface, skin::Recording& drawing) const {
        (void)surface, (void)drawing;
        return false;
    }
    virtual void OnLButtonDown(UINT nFlags, int x, int y) { (void)nFlags, (void)x, (void)y; }
    // nFlags is WM_CTRL_LINK for a link notification; x is then the clicked control's ID.
    virtual void OnLButtonUp(UINT nFlags, int x, int y) { (void)nFlags, (void)x, (void)y; }
    virtual void OnMouseMove(UINT nFlags, int x, int y) { (void)nFlags, (void)x, (void)y; }
    virtual void OnMouseEnter(UINT nFlags, int x, int y) { (void)nFlags, (void)x, (void)y; }
    virtual void OnMouseLeave(UINT nFlags, int x, int y) { (void)nFlags, (void)x, (void)y; }
    virtual void OnTimer() {}

    // No redraw: the owner repaints when it needs to.
    virtual void Enable(bool bEnable) { m_bEnable = bEnable; }
    bool IsEnabled() const { return m_bEnable; }
    const QString& Text() const { return m_strText; }
    void SetText(const QString& text) { m_strText = text; }
    // What the owner shows while the pointer rests on the control: the whole
    // text where the control had to cut it short; empty otherwise.
    virtual QString ToolTip() const { return {}; }
    bool Contains(int x, int y) const { return PtInRect(m_rect, x, y); }
    // The owner's timer whose WM_TIMER reaches OnTimer(); 0 for none.
    UINT TimerID() const { return m_nTimerID; }
    void SetTimerID(UINT id) { m_nTimerID = id; }
    bool IsHover() const { return m_bHover; }
    void SetHover(bool hover) { m_bHover = hover; }
    bool IsPressed() const { return m_bPressed; }
    void SetPressed(bool pressed) { m_bPressed = pressed; }
    // The pointer left since it last entered.
    bool PointerLeft() const { return m_bLeft; }
    const RECT& Rect() const { return m_rect; }
    UINT ID() const { return m_nID; }
    CControls* LinkTarget() const { return m_pLinkTarget; }

    // What assistive technology is told about the control and whether Tab
    // reaches it (control_access.cpp): role, name, value and range. The owner
    // adds place, shown and enabled state, and focus. The default tells nothing.
    virtual platform::AccessibleItem Describe() const;
    // The keyboard's or assistive technology's press: what a click at the
    // control's centre does. False where the control is hidden or disabled.
    virtual bool Press();
    // A key (VK_*) for the control with the keyboard focus, before the window's
    // own handling; true when the control used it.
    virtual bool OnKey(int vk) {
        (void)vk;
        return false;
    }
    // A value set as the user would set it (notifying the owner); false for a
    // control without one.
    virtual bool SetValue(double value) {
        (void)value;
        return false;
    }
    // Its name for assistive technology where the caption is in its picture or
    // elsewhere, and the unit of its value.
    void SetAccessibleName(const QString& name) { m_strAccessibleName = name; }
    void SetAccessibleUnit(const QString& unit) { m_strAccessibleUnit = unit; }

  protected:
    CControls* m_pLinkTarget = nullptr;
    bool m_bPressed = false;
    bool m_bHover = false;
    bool m_bLeft = true;  // the pointer left since it last entered
    bool m_bEnable = true;
    UINT m_nID = 0;
    int m_nShowCmd = SW_SHOW;
    UINT m_nTimerID = 0;
    QString m_strText;
    RECT m_rect;
    CDialogBase* m_pOwner = nullptr;
    POINT m_ptLast{-1, -1};
    QString m_strImage;  // relative to the working directory
    QString m_strAccessibleName;
    QString m_strAccessibleUnit;

    // The accessible name when one was given, else the text.
    QString AccessibleNameOrText() const {
        return m_strAccessibleName.isEmpty() ? m_strText : m_strAccessibleName;
    }

    // Repaints the owner now (the whole window is composed again).
    void RequestRedraw();
    // Invalidates `rect` of the owner and paints at once.
    void RedrawNow(const RECT& rect);
    void PostNotification(uint16_t code);
    // Frame `frame` of a picture strip of frames the size of m_rect, at m_rect.
    void DrawPicture(QPainter* pDC, const QString& path, int frame) const;
    // The pixels DrawPicture covers with `picture` (its picture, null for none
    // loaded) and a key of them; empty where it draws nothing.
    skin::PaintRecorder::Part PicturePart(const QImage* picture, int frame) const;
    // The text itself when drawSkinLine cuts it at `points`.
    QString CutTextToolTip(double points) const;
};
