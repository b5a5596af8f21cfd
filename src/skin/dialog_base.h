// The base of every skinned window: a frameless, per-pixel-alpha top-level window
// whose picture is a background PNG with its window-less controls drawn on top.
// Each paint composes what changed: the update region, and wherever a control's
// drawing differs from the last paint (background, then the controls that reach
// it, in list order), with the same pixels as a composition of the whole window.
// It forwards mouse and timer messages to the controls in list order, and tracks
// presses on the background.
#pragma once

#include <QImage>
#include <QRegion>
#include <QString>
#include <vector>

#include "platform/window.h"
#include "skin/composition_memo.h"
#include "skin/controls.h"
#include "skin/focus_mark.h"
#include "skin/known_frames.h"
#include "skin/recording_cache.h"

class CAnimation;

class CDialogBase : public platform::Window {
  public:
    CDialogBase(const QString& background, platform::Window* parent = nullptr);
    ~CDialogBase() override;

    // Composition first for WM_PAINT, controls first for mouse and timer messages,
    // then the window's own handlers; derived windows call this for what they do
    // not handle themselves.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Composes the whole window picture into m_memDC: background, then every
    // shown control in list order. The picture has the window's size.
    const QImage& Compose();
    // The whole picture composed into a new image; m_memDC and what the next
    // paint composes stay as they are (for checks).
    QImage ComposeCopy();

    // Every control created on this window, in creation order (paint and message
    // order). Not owned.
    const std::vector<CControls*>& Controls() const { return m_controls; }
    // The composed picture (the window's surface).
    const QImage& Surface() const {
        BringSurfaceUpToDate();
        return m_memDC;
    }
    // A press on the background is in progress (the window is being dragged);
    // a press that began on a control never counts as one.
    bool BackgroundDown() const { return m_bBackgroundDown; }
    bool BackgroundDownAllowed() const { return m_bAllowBackgroundDown; }

    // The painter on m_memDC while a composition runs, else null.
    QPainter* ActivePainter() const { return m_painter; }
    // Rectangles copied from an earlier composition instead of drawn again.
    size_t KeptCompositionsUsed() const { return m_memo.hits(); }
    // Controls known without being drawn to see: by their DrawState() or by
    // telling their drawing themselves.
    size_t RecordingsSkipped() const { return m_recordingsSkipped; }

    // For an animation's tick: shows its present frame in `box` (window pixels)
    // from the pixels kept when the same frame was last composed, without
    // composing anything. False, and nothing shown, where none are kept, another
    // control may have changed since the last paint measured it, or a paint is due
    // anyway. Each paint keeps the frame it leaves in the box of the animation
    // asked for last.
    bool ShowKnownFrame(const CAnimation& animation, const QRect& box);
    // Ticks shown that way.
    size_t KnownFramesShown() const { return m_knownFramesShown; }

    // For tests: every window draws every control into the recorder at every
    // paint, as if no control told its own state, and counts the controls whose
    // unchanged DrawState() hid a change of their drawing, or whose own account
    // of their drawing missed what the recorder saw.
    static void SetDrawStateCheck(bool on);
    static size_t UnreportedChanges();

    // Assistive technology (dialog_access.cpp): one item per control, its index
    // in Controls().
    int AccessibleItemCount() const override { return int(m_controls.size()); }
    platform::AccessibleItem AccessibleItemAt(int index) const override;
    bool PressAccessibleItem(int index) override;
    bool SetAccessibleItemValue(int index, double value) override;
    bool FocusAccessibleItem(int index) override;
    // The control with the keyboard focus; null when none has it.
    CControls* FocusedControl() const { return m_focusMark.Target(); }
    // The window system made another window the active one since this one was.
    // A window it never reports activating (no window manager) is not deactivated.
    bool Deactivated() const { return deactivated_; }

    // For its controls: attaching one (CControls::Create), drawing one at once
    // outside a paint, and the bookkeeping of a press that a control takes from
    // the background, or that ends without the pointer (keyboard, assistive
    // technology).
    void AttachControl(CControls* control) { m_controls.push_back(control); }
    void DrawControlNow(CControls& control);
    void ControlTookPress() { m_bAllowBackgroundDown = false; }
    void PressEndedWithoutPointer() {
        m_bAllowBackgroundDown = true;
        ReleaseCaptureUnlessBackgroundDown();
    }
    void ReleaseCaptureUnlessBackgroundDown() {
        if (!m_bBackgroundDown) ReleaseCapture();
    }

  protected:
    std::vector<CControls*> m_controls;
    QString m_strBackground;
    bool m_bBackgroundDown = false;
    bool m_bAllowBackgroundDown = true;
    QImage& m_memDC;

    // Enter never closes a skinned window.
    void OnOK() override {}
    bool TakesTabKeys() const override { return true; }
    // Tab and Shift+Tab move the focus through the shown, enabled controls that
    // take it, in creation order; Space and Enter press the focused control;
    // arrows move a focused slider by its step, Page Up and Down by ten steps.
    // The focused control's OnKey comes first; a key nobody used is offered to
    // the other controls (an open drop-down takes it). True when the key was used.
    bool OnSkinKey(int vk);
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
    // What a control drew at the last composition: where, and a key of how.
    using Painted = skin::Recording;
    QPainter* m_painter = nullptr;
    skin::FocusMark m_focusMark;  // in m_controls once a control took the focus
    bool deactivated_ = false;
    bool Focusable(const CControls* control) const;
    void SetFocusTo(CControls* control);
    // Tab, and the keys of the focused control (null for none) that any control takes.
    bool OnFocusKey(int vk, CControls* focused);
    bool m_bErasedInPaint = false;
    std::vector<Painted> m_painted;  // same index as m_controls
    // Which control stood at an index, its DrawState() and the window's size
    // (bounds are clipped to it) when it was measured.
    struct MeasuredState {
        const CControls* control = nullptr;
        uint64_t drawState = 0;
        QSize size;
        bool operator==(const MeasuredState&) const = default;
    };
    std::vector<MeasuredState> m_paintedStates;
    qint64 m_backgroundKey = 0;
    skin::RecordingCache m_recordings;
    QSize m_recordedSize;  // the window's size the recordings were clipped to
    skin::CompositionMemo m_memo;
    size_t m_recordingsSkipped = 0;
    // While checking: what each control told and what the recorder saw at the last paint.
    std::vector<std::pair<Painted, Painted>> m_seen;
    skin::KnownFrames m_knownFrames;
    size_t m_knownFramesShown = 0;
    // A known frame the window system showed from its own copy, not yet in m_memDC.
    struct NotInSurface {
        QImage pixels;
        QPoint at;
    };
    mutable NotInSurface m_notInSurface;
    void BringSurfaceUpToDate() const override;
    // The followed animation's present frame, from the surface just composed.
    void KeepKnownFrame(bool covering);
    // Whether every control but `except` is in the state the last paint measured.
    bool UnchangedSinceMeasured(const CControls* except) const;
    void ComposeWith(Path path, bool whole);
    // Brings `painted` to what each control draws now, and appends to `places`
    // (unless null) where that changed. A control whose DrawState() is what
    // `states` holds for it is left alone; one recorded before in that state is
    // taken from m_recordings without being drawn.
    void Measure(std::vector<Painted>& painted, std::vector<MeasuredState>& states,
                 std::vector<QRect>* places);
    // Composes each of `rects` (not overlapping) from the background up.
    void Paint(const std::vector<QRect>& rects, bool whole, Path path, const std::vector<Painted>& painted);
    // What the composition of `rect` depends on: its place, the background and
    // the keys of the controls that reach it (but the one at `leaveOut`).
    skin::CompositionMemo::Key MemoKey(const QRect& rect, bool covering, const std::vector<Painted>& painted,
                                       size_t leaveOut = SIZE_MAX) const;
    void Forward(UINT message, WPARAM wParam, LPARAM lParam);
    // The tooltip of the topmost shown control under (x, y) that has one.
    void ShowToolTipAt(int x, int y);
};
