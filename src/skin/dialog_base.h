// The base of every skinned window: a frameless, per-pixel-alpha top-level window
// whose picture is a background PNG with its window-less controls drawn on top.
// It composes that picture on every paint, forwards mouse and timer messages to
// the controls in list order, and tracks presses on the background.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "platform/window.h"
#include "skin/controls.h"

class CDialogBase : public platform::Window {
  public:
    CDialogBase(const QString& background, platform::Window* parent = nullptr);
    ~CDialogBase() override;

    // Composition first for WM_PAINT, controls first for mouse and timer messages,
    // then the window's own handlers; derived windows call this for what they do
    // not handle themselves.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Composes the window picture into m_memDC: background, then every shown
    // control in list order. The picture has the window's size.
    const QImage& Compose();

    // Every control created on this window, in creation order (paint and message
    // order). Not owned.
    std::vector<CControls*> m_controls;
    QString m_strBackground;
    bool m_bBackgroundDown = false;
    bool m_bAllowBackgroundDown = true;
    QImage& m_memDC;  // the composed picture (the window's surface)

    // The painter on m_memDC while a composition runs, else null.
    QPainter* ActivePainter() const { return m_painter; }

  protected:
    // Enter never closes a skinned window.
    void OnOK() override {}
    // Screen point -> HTCAPTION over the background (the window system drags the
    // window), HTCLIENT over any control, shown or hidden. Panels that must not
    // be dragged answer HTCLIENT.
    virtual LRESULT OnNcHitTest(int screenX, int screenY);
    // Background press bookkeeping; client coordinates.
    virtual void OnLButtonDown(UINT nFlags, int x, int y);
    virtual void OnLButtonUp(UINT nFlags, int x, int y);
    virtual void OnMouseMove(UINT nFlags, int x, int y) { (void)nFlags, (void)x, (void)y; }

  private:
    enum class Path { Paint, Erase };
    QPainter* m_painter = nullptr;
    bool m_bErasedInPaint = false;
    void ComposeWith(Path path);
    void Forward(UINT message, WPARAM wParam, LPARAM lParam);
};
