#include "skin/dialog_base.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "skin/animation.h"
#include "skin/paint_recorder.h"
#include "skin/paint_rects.h"
#include "skin/picture_cache.h"

namespace {
// 96 dots per inch, so point sizes come out as on the platform the skin was drawn for.
constexpr int kDotsPerMeter = 3780;
bool g_drawStateCheck = false;
size_t g_unreportedChanges = 0;
}  // namespace

void CDialogBase::SetDrawStateCheck(bool on) {
    g_drawStateCheck = on;
    g_unreportedChanges = 0;
}

size_t CDialogBase::UnreportedChanges() {
    return g_unreportedChanges;
}

CDialogBase::CDialogBase(const QString& background, platform::Window* parent)
    : platform::Window(parent), m_strBackground(background), m_memDC(m_surface) {
    setWindowFlag(Qt::FramelessWindowHint);
    if (parent) setWindowFlag(Qt::Tool);  // owned panels stay off the task bar
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
}

CDialogBase::~CDialogBase() {
    m_controls.clear();
}

LRESULT CDialogBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_PAINT:
            // An erase earlier in the same paint already composed the same picture.
            if (!m_bErasedInPaint) ComposeWith(Path::Paint, false);
            m_bErasedInPaint = false;
            break;
        case WM_ERASEBKGND:
            ComposeWith(Path::Erase, false);
            m_bErasedInPaint = InPaint();
            return 1;
        case WM_NCHITTEST:
            return OnNcHitTest(x, y);
        case WM_MOUSEMOVE:
            Forward(message, wParam, lParam);
            ShowToolTipAt(x, y);
            OnMouseMove(UINT(wParam), x, y);
            break;
        case WM_LBUTTONDOWN:
            Forward(message, wParam, lParam);
            OnLButtonDown(UINT(wParam), x, y);
            break;
        case WM_LBUTTONUP:
            Forward(message, wParam, lParam);
            OnLButtonUp(UINT(wParam), x, y);
            break;
        case WM_TIMER:
            Forward(message, wParam, lParam);
            break;
        case WM_KEYDOWN:
            if (OnSkinKey(int(wParam))) return 0;
            break;
        case WM_ACTIVATE:
            deactivated_ = wParam == WA_INACTIVE;
            if (m_focusMark.Target()) {
                RedrawWindow(nullptr, RDW_INTERNALPAINT);
                UpdateWindow();
            }
            break;
        default:
            break;
    }
    return platform::Window::WindowProc(message, wParam, lParam);
}

void CDialogBase::Forward(UINT message, WPARAM wParam, LPARAM lParam) {
    // Controls may add controls while handling a message; those join at the next one.
    const size_t count = m_controls.size();
    for (size_t i = 0; i < count && i < m_controls.size(); ++i)
        m_controls[i]->OnMessage(message, wParam, lParam);
}

void CDialogBase::ShowToolTipAt(int x, int y) {
    QString tip;
    for (auto it = m_controls.rbegin(); it != m_controls.rend() && tip.isEmpty(); ++it)
        if ((*it)->IsShown() && (*it)->Contains(x, y)) tip = (*it)->ToolTip();
    if (tip != toolTip()) setToolTip(tip);
}

void CDialogBase::DrawControlNow(CControls& control) {
    if (m_memDC.isNull()) return;
    BringSurfaceUpToDate();
    QPainter painter(&m_memDC);
    control.Draw(&painter);
}

const QImage& CDialogBase::Compose() {
    ComposeWith(Path::Paint, true);
    return m_memDC;
}

QImage CDialogBase::ComposeCopy() {
    BringSurfaceUpToDate();
    const QImage kept = m_memDC;
    m_memDC = QImage();
    // Measured on copies: the surface keeps what the window's own compositions measured.
    std::vector<Painted> painted = m_painted;
    std::vector<MeasuredState> states = m_paintedStates;
    Measure(painted, states, nullptr);
    Paint({QRect(0, 0, std::max(width(), 1), std::max(height(), 1))}, true, Path::Paint, painted);
    QImage copy = m_memDC;
    m_memDC = kept;
    return copy;
}

void CDialogBase::Measure(std::vector<Painted>& painted, std::vector<MeasuredState>& states,
                          std::vector<QRect>* places) {
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    const QRect all(QPoint(0, 0), size);
    if (size != m_recordedSize) {
        m_recordings.clear();
        m_recordedSize = size;
    }
    painted.resize(m_controls.size());
    states.resize(m_controls.size());
    if (g_drawStateCheck) m_seen.resize(m_controls.size());
    // Made on the first control that must be drawn to be known.
    std::optional<skin::PaintRecorder> recorder;
    const auto record = [&](CControls* control) {
        if (!recorder) {
            QImage like(1, 1, QImage::Format_ARGB32_Premultiplied);
            like.setDotsPerMeterX(kDotsPerMeter);
            like.setDotsPerMeterY(kDotsPerMeter);
            recorder.emplace(like, size);
        }
        recorder->reset();
        {
            // A painter of its own: the key must not depend on which controls
            // were drawn before this one.
            QPainter painter(&*recorder);
            control->Draw(&painter);
        }
        std::vector<skin::PaintRecorder::Part> parts = recorder->parts();
        for (skin::PaintRecorder::Part& part : parts) part.bounds &= all;
        return Painted{recorder->bounds() & all, recorder->key(), true, std::move(parts)};
    };
    for (size_t i = 0; i < painted.size(); ++i) {
        CControls* control = m_controls[i];
        const MeasuredState state{control, control->IsShown() ? control->DrawState() : 0, size};
        // Unchanged since it was measured: nothing to do, not even a copy.
        if (state.drawState && state == states[i] && !g_drawStateCheck) {
            ++m_recordingsSkipped;
            continue;
        }
        Painted now;
        if (control->IsShown()) {
            const Painted* kept = state.drawState ? m_recordings.find(i, control, state.drawState) : nullptr;
            if (kept && !g_drawStateCheck) {
                now = *kept;
                ++m_recordingsSkipped;
            } else if (Painted told; control->DescribeDrawing(size, told)) {
                for (skin::PaintRecorder::Part& part : told.parts) part.bounds &= all;
                told.bounds &= all;
                if (g_drawStateCheck) {
                    Painted seen = record(control);
                    const auto& [toldBefore, seenBefore] = m_seen[i];
                    if (!skin::toldAsSeen(toldBefore, seenBefore, told, seen) || (kept && !(*kept == told)))
                        ++g_unreportedChanges;
                    m_seen[i] = {told, std::move(seen)};
                }
                now = std::move(told);
                ++m_recordingsSkipped;
            } else {
                now = record(control);
                if (kept && !(now == *kept)) ++g_unreportedChanges;
            }
            if (state.drawState) m_recordings.keep(i, control, state.drawState, now);
        }
        if (places) skin::addChangedPlaces(painted[i], now, *places);
        painted[i] = std::move(now);
        states[i] = state;
    }
}

void CDialogBase::ComposeWith(Path path, bool whole) {
    BringSurfaceUpToDate();
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    if (m_memDC.size() != size || m_memDC.format() != QImage::Format_ARGB32_Premultiplied) {
        m_memDC = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_memDC.setDotsPerMeterX(kDotsPerMeter);
        m_memDC.setDotsPerMeterY(kDotsPerMeter);
        whole = true;
    }
    const QImage* background = skin::PictureCache::instance().get(m_strBackground);
    const qint64 backgroundKey = background ? background->cacheKey() : 0;
    if (backgroundKey != m_backgroundKey) whole = true;
    m_backgroundKey = backgroundKey;

    std::vector<QRect> places(UpdateRegion().begin(), UpdateRegion().end());
    Measure(m_painted, m_paintedStates, &places);
    const QRect all(QPoint(0, 0), size);
    std::vector<QRect> rects;
    if (!whole) rects = skin::paintRects(places, all);
    QRegion region;
    for (const QRect& r : rects) region += r;
    whole = whole || region == QRegion(all);
    if (whole) {
        rects = {all};
        region = all;
    }
    if (!rects.empty()) Paint(rects, whole, path, m_painted);
    KeepKnownFrame(background && background->width() >= size.width() &&
                   background->height() >= size.height());
    UpdateLayeredArea(region);
}

bool CDialogBase::ShowKnownFrame(const CAnimation& animation, const QRect& box) {
    const CControls* followed = &animation;
    if (!m_knownFrames.follows(followed, box, animation.FrameCount())) {
        m_knownFrames.follow(followed, box, animation.FrameCount());
        return false;
    }
    const QImage* pixels = m_knownFrames.frame(animation.Frame(), animation.DrawState());
    if (!pixels || !animation.IsShown() || !UnchangedSinceMeasured(followed)) return false;
    if (!m_notInSurface.pixels.isNull() && QRect(m_notInSurface.at, m_notInSurface.pixels.size()) != box)
        BringSurfaceUpToDate();
    if (ShowKeptPixelsNow(*pixels, box.topLeft())) {
        // The surface takes them only when something reads it: most ticks nothing does.
        m_notInSurface = {*pixels, box.topLeft()};
    } else {
        BringSurfaceUpToDate();
        // Should the screen not take it now, the paint that follows composes the same pixels.
        if (!skin::copyPixels(*pixels, m_memDC, box.topLeft()) || !ShowSurfaceNow(box)) return false;
    }
    ++m_knownFramesShown;
    if (g_drawStateCheck && ComposeCopy().copy(box) != *pixels) ++g_unreportedChanges;
    return true;
}

void CDialogBase::BringSurfaceUpToDate() const {
    if (m_notInSurface.pixels.isNull()) return;
    const NotInSurface behind = std::exchange(m_notInSurface, {});
    skin::copyPixels(behind.pixels, m_memDC, behind.at);
}

void CDialogBase::KeepKnownFrame(bool covering) {
    const CControls* followed = m_knownFrames.animation();
    if (!followed) return;
    const auto at = std::find(m_controls.begin(), m_controls.end(), followed);
    const auto* animation = at == m_controls.end() ? nullptr : dynamic_cast<const CAnimation*>(*at);
    const QRect& box = m_knownFrames.box();
    const auto index = size_t(at - m_controls.begin());
    if (!animation || !animation->IsShown() || index >= m_painted.size() ||
        !QRect(QPoint(0, 0), m_memDC.size()).contains(box)) {
        m_knownFrames.forget();
        return;
    }
    skin::CompositionMemo::Key context = MemoKey(box, covering, m_painted, index);
    context.push_back(animation->StillState());
    m_knownFrames.setContext(std::move(context));
    const uint64_t state = animation->DrawState();
    if (!m_knownFrames.frame(animation->Frame(), state))
        m_knownFrames.keep(animation->Frame(), state, m_memDC.copy(box));
}

bool CDialogBase::UnchangedSinceMeasured(const CControls* except) const {
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    if (m_paintedStates.size() != m_controls.size() || m_memDC.size() != size) return false;
    const QImage* background = skin::PictureCache::instance().get(m_strBackground);
    if ((background ? background->cacheKey() : 0) != m_backgroundKey) return false;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        const CControls* control = m_controls[i];
        if (control == except) continue;
        const uint64_t drawState = control->IsShown() ? control->DrawState() : 0;
        // A shown control that only its drawing tells about may have changed.
        if (control->IsShown() && !drawState) return false;
        if (!(MeasuredState{control, drawState, size} == m_paintedStates[i])) return false;
    }
    return true;
}

void CDialogBase::Paint(const std::vector<QRect>& rects, bool whole, Path path,
                        const std::vector<Painted>& painted) {
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    if (m_memDC.size() != size || m_memDC.format() != QImage::Format_ARGB32_Premultiplied) {
        m_memDC = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_memDC.setDotsPerMeterX(kDotsPerMeter);
        m_memDC.setDotsPerMeterY(kDotsPerMeter);
    }
    const QImage* background = skin::PictureCache::instance().get(m_strBackground);
    // A covering background leaves exactly its own pixels: copy them instead of
    // clearing and blending.
    const bool covering =
        background && background->width() >= size.width() && background->height() >= size.height();
    // Kept rectangles first, copied row by row: an animation that came round
    // again needs no painter at all.
    std::vector<std::pair<QRect, skin::CompositionMemo::Key>> drawn;
    for (const QRect& rect : rects) {
        skin::CompositionMemo::Key key;
        if (!whole && skin::CompositionMemo::worthKeeping(rect)) {
            key = MemoKey(rect, covering, painted);
            if (const QImage* kept = m_memo.find(key);
                kept && skin::copyPixels(*kept, m_memDC, rect.topLeft()))
                continue;
        }
        drawn.emplace_back(rect, std::move(key));
    }
    if (drawn.empty()) return;
    QPainter painter(&m_memDC);
    m_painter = &painter;
    // One rectangle at a time: under a clip of several rectangles the raster
    // engine leaves its straight copies for span filling shared out to worker
    // threads, which costs more than the whole paint at this size.
    const size_t count = std::min(m_controls.size(), painted.size());
    for (auto& [rect, key] : drawn) {
        painter.setClipRect(rect);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (covering)
            painter.drawImage(0, 0, *background);
        else
            painter.fillRect(rect, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (background && !covering) painter.drawImage(0, 0, *background);

        for (size_t i = 0; i < count && i < m_controls.size(); ++i) {
            CControls* control = m_controls[i];
            // What does not reach the rectangle would change nothing in it.
            if (!whole && !rect.intersects(painted[i].bounds)) continue;
            if (path == Path::Paint) {
                control->OnMessage(WM_PAINT, 0, 0);
            } else if (control->IsShown()) {
                painter.save();
                control->Draw(&painter);
                painter.restore();
            }
        }
        if (!key.empty()) m_memo.keep(std::move(key), m_memDC.copy(rect));
    }
    m_painter = nullptr;
}

skin::CompositionMemo::Key CDialogBase::MemoKey(const QRect& rect, bool covering,
                                                const std::vector<Painted>& painted, size_t leaveOut) const {
    skin::CompositionMemo::Key key{uint64_t(rect.x()),        uint64_t(rect.y()),
                                   uint64_t(rect.width()),    uint64_t(rect.height()),
                                   uint64_t(m_memDC.width()), uint64_t(m_memDC.height()),
                                   uint64_t(m_backgroundKey), uint64_t(covering)};
    const size_t count = std::min(m_controls.size(), painted.size());
    for (size_t i = 0; i < count; ++i) {
        if (i == leaveOut || !rect.intersects(painted[i].bounds)) continue;
        key.push_back(i);
        key.push_back(painted[i].key);
    }
    return key;
}

LRESULT CDialogBase::OnNcHitTest(int screenX, int screenY) {
    const QPoint client = mapFromGlobal(QPoint(screenX, screenY));
    for (const CControls* control : m_controls)
        if (PtInRect(control->Rect(), client.x(), client.y())) return HTCLIENT;
    return HTCAPTION;
}

void CDialogBase::OnLButtonDown(UINT, int, int) {
    if (m_bAllowBackgroundDown) {
        m_bBackgroundDown = true;
        SetCapture();
    }
}

void CDialogBase::OnLButtonUp(UINT, int, int) {
    m_bBackgroundDown = false;
    m_bAllowBackgroundDown = true;
    ReleaseCapture();
}
