// The window base every Vantrel window stands on: Qt events become WindowProc
// calls with Windows message numbers, so window code is written against messages,
// numbered timers and a posted-message queue. This and its .cpp files are the only
// place that knows Qt's event types.
//
// Messages delivered: WM_PAINT, WM_ERASEBKGND (a paint asked for with RDW_ERASE),
// WM_SHOWWINDOW, WM_DESTROY, WM_MOVE, WM_SIZE, WM_CLOSE, WM_SYSCOMMAND, WM_TIMER,
// WM_COMMAND (from skinned controls and bound Qt controls), WM_NCHITTEST, the
// mouse and key messages, and whatever is posted or sent.
//
// A settings page or any other window inside another one is a child window:
//
//     class CGeneralDlg : public platform::Window {
//       public:
//         explicit CGeneralDlg(QWidget* parent) : Window(parent, Placement::Child) {}
//       protected:
//         bool OnInitDialog() override {
//             auto* box = new QCheckBox(tr("Start minimized"), this);
//             BindControl(box, 1004);               // click -> WM_COMMAND(1004, BN_CLICKED)
//             return true;
//         }
//         bool OnCommand(WPARAM wParam, LPARAM lParam) override {
//             if (LOWORD(wParam) == 1004 && HIWORD(wParam) == BN_CLICKED)
//                 m_bStartMinimized = GetDlgItem<QCheckBox>(1004)->isChecked();
//             return Window::OnCommand(wParam, lParam);
//         }
//     };
//     page->Create();                       // OnInitDialog, nothing shown yet
//     page->SetParent(tabWidget);           // placed in a plain Qt widget
//     page->SetWindowPos(4, 24, w, h, SWP_NOZORDER | SWP_SHOWWINDOW);
//
// Child windows are owned by their Qt parent: deleting the parent deletes them.
// An owner that also holds one in a std::unique_ptr must let the pointer go
// first (declare it after the widget the child is placed in).
#pragma once

#include <QEventLoop>
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <QWindow>
#include <map>
#include <memory>
#include <string>

#include "platform/accessible_item.h"
#include "platform/win_window.h"

namespace platform {

class ObscuredWatch;
class ShmPresenter;

class Window : public QWidget {
    Q_OBJECT
  public:
    enum class Placement {
        TopLevel,  // a window of its own; with a parent, owned by it (kept above it)
        Child,     // inside its parent; positions are the parent's client coordinates
    };

    // A top-level window, owned by `parent` when there is one.
    explicit Window(Window* parent = nullptr);
    Window(QWidget* parent, Placement placement);
    ~Window() override;

    bool IsChild() const { return m_placement == Placement::Child; }
    // Places a child window in another widget (a tab control's page area, say),
    // keeping its position and its shown state.
    void SetParent(QWidget* parent);

    // The window procedure. The default dispatches to the On* handlers below and
    // answers DefWindowProc for the rest.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // A question or warning box of this window (platform::MessageBox). While one
    // is open the window must not go away under it: whoever would destroy it
    // asks DeferClose first. An answer given after a deferred close is the one
    // that changes nothing (No, Cancel, OK).
    int Ask(const std::string& text, const std::string& caption, UINT flags);
    bool Asking() const { return m_questions > 0; }
    // True while a question is open: `command` is then posted to `target` as a
    // WM_COMMAND once the last question is answered, and nothing is closed now.
    virtual bool DeferClose(Window* target, UINT command);

    // Queued for the event loop, delivered in the order posted. False once destroyed.
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Calls the window procedure at once.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // One timer per ID: setting an ID again restarts it. Periods below 10 ms
    // become 10 ms. Each expiry delivers WM_TIMER with the ID in wParam.
    bool SetTimer(UINT id, UINT periodMs);
    bool KillTimer(UINT id);
    bool HasTimer(UINT id) const { return m_timers.count(id) != 0; }
    // Effective period of a running timer, 0 when none.
    UINT TimerPeriod(UINT id) const;

    // SW_* command; answers whether the window was visible before. SW_SHOWNA and
    // SW_SHOWNOACTIVATE show without taking the focus from the active window.
    // A change of shown state sends WM_SHOWWINDOW (wParam 1 shown, 0 hidden) once
    // it is made.
    bool ShowWindow(int nCmdShow);
    // Screen position and size; SWP_NOMOVE / SWP_NOSIZE / SWP_NOZORDER /
    // SWP_SHOWWINDOW / SWP_HIDEWINDOW as on Windows. Without SWP_NOZORDER the window
    // is raised.
    bool SetWindowPos(int x, int y, int cx, int cy, UINT flags);
    RECT GetWindowRect() const;  // screen coordinates, child windows too
    RECT GetClientRect() const;  // (0, 0, width, height)
    bool IsWindowVisible() const { return isVisible(); }
    bool IsIconic() const { return isMinimized(); }
    // Whether any pixel of the window may reach someone's eyes: false while it is
    // hidden, minimised, unmapped by the window system (another workspace) or,
    // where the X server says so, fully covered by other windows. Nothing is
    // painted while it is false; what was asked for is painted once it is true.
    bool Seen() const { return m_seen; }
    void SetForegroundWindow();

    // RDW_INVALIDATE: rect (client pixels; the whole window when null) joins the
    // update region. RDW_ERASE: with RDW_INVALIDATE, the paint starts with
    // WM_ERASEBKGND. RDW_INTERNALPAINT: a WM_PAINT comes even though nothing is
    // invalid (rect ignored). RDW_UPDATENOW: that paint happens before returning.
    // Otherwise it comes from the event loop; several requests before it end in
    // one paint. A show, a resize or an expose invalidates what it uncovers.
    bool RedrawWindow(const RECT* rect = nullptr, UINT flags = RDW_INVALIDATE);
    // Paints at once if a paint is pending (invalid area or RDW_INTERNALPAINT) and
    // the window is shown.
    void UpdateWindow();
    // Sends `area` of surface() to the screen now, without a paint: false, and
    // nothing sent, while the window is not seen, a paint is due or under way, or
    // what an earlier paint composed has not all reached the screen.
    bool ShowSurfaceNow(const QRect& area);
    // As ShowSurfaceNow for `pixels` at `at`, sent from a copy the X server keeps
    // of them (no pixel leaves this process again for the same image) and
    // without copying them into surface(): the window does that in
    // BringSurfaceUpToDate(), before anything reads the surface. False, nothing
    // sent, also where the server cannot keep pictures for the window.
    bool ShowKeptPixelsNow(const QImage& pixels, QPoint at);
    // Showings that way since the window was made.
    long long KeptPixelsShown() const { return m_keptPixelsShown; }
    int PaintCount() const { return m_paintCount; }
    // True while WM_ERASEBKGND and WM_PAINT of one paint are being delivered.
    bool InPaint() const { return m_inPaint; }
    // During a paint: the update region it was asked for (client pixels); empty
    // for a paint that RDW_INTERNALPAINT alone asked for.
    const QRegion& UpdateRegion() const { return m_updateRegion; }
    // The area of surface() a composition changed, which is what reaches the
    // screen: during a paint, together with its update region (a paint that
    // never says brings its update region, or the whole window when nothing was
    // invalid); outside a paint, from the event loop.
    void UpdateLayeredArea(const QRegion& area);
    // Pixels handed to the window system since the window was made.
    long long FlushedPixels() const { return m_flushedPixels; }
    // Whether the last of them went to the X server straight from shared memory.
    bool PresentsDirectly() const { return m_presenter != nullptr; }

    // Mouse capture: while set, the pointer leaving the window still reaches the
    // window procedure as a WM_MOUSEMOVE at its position (outside the client area).
    void SetCapture() { m_captured = true; }
    // A second left press in quick succession arrives as WM_LBUTTONDBLCLK
    // instead of WM_LBUTTONDOWN (off by default: skinned windows take it as a press).
    void SetWantsDoubleClicks(bool on) { m_doubleClicks = on; }
    void ReleaseCapture() { m_captured = false; }
    bool HasCapture() const { return m_captured; }

    // Modal run: OnInitDialog, show, nested event loop until EndDialog; returns the
    // EndDialog result. Modeless: OnInitDialog only; the caller shows the window.
    intptr_t DoModal();
    bool Create();
    void EndDialog(intptr_t result);
    bool IsModal() const { return m_modalLoop != nullptr; }
    // Hides the window, sends it WM_DESTROY, destroys its child windows, stops its
    // timers and refuses further posted messages; the owner deletes the object.
    void DestroyWindow();
    bool IsDestroyed() const { return m_destroyed; }

    // The nearest window this one stands on: a top-level window's owner, or the
    // window a child is placed in, looking through plain Qt widgets (a tab
    // control) in between. Null for an unowned top-level window.
    Window* GetParent() const;

    // Binds a standard Qt control to `id`: its user actions reach this window as
    // a posted WM_COMMAND with the id in the low word and the notification code
    // in the high word, lParam 0:
    //   push button, check box, radio button   clicked            BN_CLICKED
    //   combo box                              item chosen        CBN_SELCHANGE
    //   line edit, text edit, spin box         text changed       EN_CHANGE
    //   list (any item view)                   current item or an
    //                                          item's check state LBN_SELCHANGE
    // As on Windows, an edit's text set by code notifies too. Bind an item view
    // after its model is set. Answers false for a control of another kind (it is
    // still found by GetDlgItem).
    bool BindControl(QWidget* control, UINT id);
    // The control bound to `id`, null when none (or deleted).
    QWidget* GetDlgItem(UINT id) const;
    template <typename T>
    T* GetDlgItem(UINT id) const {
        return qobject_cast<T*>(GetDlgItem(id));
    }

    // The composed picture of the window: whatever WM_PAINT leaves in it is what
    // the screen shows (per-pixel alpha).
    QImage& surface() {
        BringSurfaceUpToDate();
        return m_surface;
    }
    const QImage& surface() const {
        BringSurfaceUpToDate();
        return m_surface;
    }

    // Starts a window-system move of the whole window (a drag by its background).
    bool BeginSystemMove();

    // The parts the window draws itself, for assistive technology
    // (window_accessible.cpp): index 0 to AccessibleItemCount() - 1, stable for
    // the window's life; an item not shown is left out of the tree.
    virtual int AccessibleItemCount() const { return 0; }
    virtual AccessibleItem AccessibleItemAt(int index) const;
    // What a click on the item would do; false where it cannot be pressed.
    virtual bool PressAccessibleItem(int index);
    // A new value for an item with a range, as the user would set it.
    virtual bool SetAccessibleItemValue(int index, double value);
    // Gives the item the keyboard focus.
    virtual bool FocusAccessibleItem(int index);
    // Tells assistive technology that the item took the focus or changed its value.
    void NotifyAccessibleFocus(int index);
    void NotifyAccessibleValue(int index);

  protected:
    // Copies into surface() what went to the screen without it (ShowKeptPixelsNow).
    virtual void BringSurfaceUpToDate() const {}
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // WM_COMMAND: IDOK and IDCANCEL reach OnOK / OnCancel, the rest nothing.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnTimer(UINT id) { (void)id; }
    virtual void OnMove(int x, int y) { (void)x, (void)y; }
    virtual void OnClose() { OnCancel(); }
    // SC_CLOSE sends WM_CLOSE; SC_MINIMIZE minimises.
    virtual void OnSysCommand(WPARAM code, LPARAM lParam);
    // True where Tab and Shift+Tab reach WindowProc as WM_KEYDOWN(VK_TAB) instead
    // of moving Qt's focus between child widgets (windows that draw their controls).
    virtual bool TakesTabKeys() const { return false; }
    // Shift was held with the key being delivered.
    bool KeyShifted() const { return m_keyShifted; }
    // Seen() changed; the paints held back are delivered after this returns.
    virtual void OnSeenChange(bool seen) { (void)seen; }

    // Qt side.
    void setVisible(bool visible) override;
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

    QImage m_surface;

  private:
    LPARAM clientPoint(const QPointF& p) const;
    WPARAM mouseKeys(Qt::MouseButtons buttons) const;

    void postCommand(UINT id, uint16_t code);
    bool PaintPending() const { return !m_invalid.isEmpty() || m_internalPaint; }
    // Delivers WM_ERASEBKGND / WM_PAINT for what is pending; answers the area of
    // the surface that changed.
    QRegion DeliverPaint();
    // Hands area of the surface to the screen without a paint event; false when
    // the window cannot take it that way now.
    bool FlushToScreen(const QRegion& area);
    // Hands area of the surface to the X server through shared memory; false
    // where that cannot be had for this window.
    bool PresentDirectly(const QRegion& area);
    // Whether FlushToScreen may put `area` into the window's backing store itself.
    bool ScreenTakes(const QRegion& area) const;
    // Copies area of the surface onto p's device (transparent where there is no
    // surface) and counts it as handed to the window system.
    void CopySurface(QPainter& p, const QRegion& area);
    // Works Seen() out again and tells the window when it changed.
    void UpdateSeen();
    // Starts watching the native window's exposure and coverage once it exists.
    void WatchNativeWindow();

    Placement m_placement;
    int m_questions = 0;
    QPointer<Window> m_deferredCloseTarget;
    UINT m_deferredCloseCommand = 0;
    std::map<UINT, std::pair<int, UINT>> m_timers;  // ID -> (Qt timer, period)
    std::map<UINT, QPointer<QWidget>> m_dlgItems;   // bound controls by ID
    std::map<int, UINT> m_timerIds;                 // Qt timer -> ID
    QEventLoop* m_modalLoop = nullptr;
    intptr_t m_modalResult = 0;
    bool m_endRequested = false;
    bool m_initialised = false;
    bool m_destroyed = false;
    bool m_captured = false;
    bool m_doubleClicks = false;
    bool m_keyShifted = false;
    bool m_inPaint = false;
    bool m_quietShow = false;  // shown state changes that send no WM_SHOWWINDOW
    QRegion m_invalid;         // the update region
    QRegion m_updateRegion;    // what the paint being delivered was asked for
    QRegion m_layeredArea;     // what it says it changed
    bool m_layeredAreaSet = false;
    QRegion m_unflushed;  // composed, not yet on the screen
    long long m_flushedPixels = 0;
    std::unique_ptr<ShmPresenter> m_presenter;
    long long m_keptPixelsShown = 0;
    std::pair<quintptr, QSize> m_presenterRefused;  // native window and size it could not be had for
    bool m_paintQueued = false;
    bool m_erasePending = false;
    bool m_internalPaint = false;
    bool m_selfMinimising = false;
    bool m_handMove = false;  // a background drag the window system refused to move
    QPoint m_handMovePress;   // global pointer at the press
    QPoint m_handMoveOrigin;  // window position at the press
    int m_paintCount = 0;
    bool m_seen = false;
    bool m_exposedOnce = false;  // the native window has been exposed at least once
    bool m_seenCheckQueued = false;
    QPointer<QWindow> m_watchedHandle;
    std::unique_ptr<ObscuredWatch> m_obscuredWatch;
};

}  // namespace platform
