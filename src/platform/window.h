// The window base every Vantrel window stands on: Qt events become WindowProc
// calls with Windows message numbers, so window code is written against messages,
// numbered timers and a posted-message queue. This and its .cpp are the only
// place that knows Qt's event types.
#pragma once

#include <QEventLoop>
#include <QImage>
#include <QWidget>
#include <map>

#include "platform/win_window.h"

namespace platform {

class Window : public QWidget {
    Q_OBJECT
  public:
    // A window with a parent is a top-level window owned by it (kept above it,
    // destroyed with it); it is not a child widget.
    explicit Window(Window* parent = nullptr);
    ~Window() override;

    // The window procedure. The default dispatches to the On* handlers below and
    // answers DefWindowProc for the rest.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

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

    // SW_* command; answers whether the window was visible before.
    bool ShowWindow(int nCmdShow);
    // Screen position and size; SWP_NOMOVE / SWP_NOSIZE / SWP_NOZORDER /
    // SWP_SHOWWINDOW / SWP_HIDEWINDOW as on Windows. Without SWP_NOZORDER the window
    // is raised.
    bool SetWindowPos(int x, int y, int cx, int cy, UINT flags);
    RECT GetWindowRect() const;  // screen coordinates
    RECT GetClientRect() const;  // (0, 0, width, height)
    bool IsWindowVisible() const { return isVisible(); }
    bool IsIconic() const { return isMinimized(); }
    void SetForegroundWindow();

    // Marks the window (or rect, client pixels) for repaint. RDW_UPDATENOW also
    // paints at once. Several requests before the paint end in one paint.
    bool RedrawWindow(const RECT* rect = nullptr, UINT flags = RDW_INVALIDATE);
    // Paints at once if a repaint is pending and the window is shown.
    void UpdateWindow();
    int PaintCount() const { return m_paintCount; }

    // Mouse capture: while set, the pointer leaving the window still reaches the
    // window procedure as a WM_MOUSEMOVE at its position (outside the client area).
    void SetCapture() { m_captured = true; }
    void ReleaseCapture() { m_captured = false; }
    bool HasCapture() const { return m_captured; }

    // Modal run: OnInitDialog, show, nested event loop until EndDialog; returns the
    // EndDialog result. Modeless: OnInitDialog only; the caller shows the window.
    intptr_t DoModal();
    bool Create();
    void EndDialog(intptr_t result);
    bool IsModal() const { return m_modalLoop != nullptr; }
    // Hides the window, stops its timers and refuses further posted messages; the
    // owner deletes the object.
    void DestroyWindow();
    bool IsDestroyed() const { return m_destroyed; }

    Window* GetParent() const { return m_parentWindow; }

    // The composed picture of the window: whatever WM_PAINT leaves in it is what
    // the screen shows (per-pixel alpha).
    QImage& surface() { return m_surface; }
    const QImage& surface() const { return m_surface; }

    // Starts a window-system move of the whole window (a drag by its background).
    bool BeginSystemMove();

  protected:
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

    // Qt side.
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

    QImage m_surface;

  private:
    LPARAM clientPoint(const QPointF& p) const;
    WPARAM mouseKeys(Qt::MouseButtons buttons) const;

    Window* m_parentWindow;
    std::map<UINT, std::pair<int, UINT>> m_timers;  // ID -> (Qt timer, period)
    std::map<int, UINT> m_timerIds;                 // Qt timer -> ID
    QEventLoop* m_modalLoop = nullptr;
    intptr_t m_modalResult = 0;
    bool m_endRequested = false;
    bool m_initialised = false;
    bool m_destroyed = false;
    bool m_captured = false;
    bool m_inPaint = false;
    bool m_updatePending = false;
    bool m_selfMinimising = false;
    bool m_handMove = false;  // a background drag the window system refused to move
    QPoint m_handMovePress;   // global pointer at the press
    QPoint m_handMoveOrigin;  // window position at the press
    int m_paintCount = 0;
};

}  // namespace platform
