// Drag frames of the fan-curve editor on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdlib>

#include "fan/static_fan_ctl.h"

namespace {

const fan::FanPoint kCurve[fan::kFanPointCount] = {{20, 20}, {30, 30}, {40, 40}, {50, 50},
                                                   {60, 60}, {70, 70}, {80, 80}, {90, 90}};

struct Setup {
    QWidget host;
    CStaticFanCtl* ctl = new CStaticFanCtl(&host);
    Setup() {
        host.resize(440, 320);
        ctl->SetWindowPos(0, 0, 440, 320, SWP_NOZORDER | SWP_SHOWWINDOW);
        ctl->SetFanMap(kCurve);
        host.show();
        QApplication::processEvents();
    }
    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(ctl->mapToGlobal(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(ctl, &e);
    }
};

// Point 3 dragged up and down by 10 pixels; each move repaints the band around it.
void BM_DragFrame(benchmark::State& state) {
    Setup s;
    const RECT& sq = s.ctl->pointRect(3);
    const QPoint from(sq.left + 3, sq.bottom - 3);
    s.send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    int i = 0;
    for (auto _ : state) {
        const QPoint to = from + QPoint(0, (++i & 1) ? -10 : 0);
        s.send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        s.ctl->UpdateWindow();
    }
    s.send(QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_DragFrame);

void BM_FullRepaint(benchmark::State& state) {
    Setup s;
    for (auto _ : state) s.ctl->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
BENCHMARK(BM_FullRepaint);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
