// From creating the main window to its first composed frame, with the scheduled
// update check off and with it on against a server that accepts and never answers:
// the download must not hold the first frame back.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <fstream>
#include <iostream>

#include "app/update_checker.h"
#include "app/vantrel_dlg.h"
#include "main_window_bench.h"

namespace {

void writeSettings(int schedule) {
    std::ofstream(settings::documentPath())
        << "<?xml version=\"1.0\"?>\n<Vantrel><Version>1</Version><GeneralDlg>"
           "<UpadteCheck>"
        << schedule << "</UpadteCheck></GeneralDlg></Vantrel>\n";
}

void BM_OpenToFirstFrame(benchmark::State& state) {
    QTcpServer silent;  // accepts, never answers
    silent.listen(QHostAddress::LocalHost);
    app::UpdateCheckOptions options = app::defaultUpdateCheckOptions();
    options.baseUrl = "http://127.0.0.1:" + std::to_string(silent.serverPort());
    options.timeout = std::chrono::milliseconds(300);
    app::setDefaultUpdateCheckOptions(options);
    bench::Card card;
    for (auto _ : state) {
        state.PauseTiming();
        writeSettings(int(state.range(0)));
        state.ResumeTiming();
        {
            CVantrelDlg dlg;
            dlg.Create();
            while (dlg.PaintCount() == 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            state.PauseTiming();
            if (state.range(0) && !app::updateCheckRunning()) state.SkipWithError("the check ended first");
        }
        // The next window starts its own check.
        while (app::updateCheckRunning()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        state.ResumeTiming();
    }
    app::setDefaultUpdateCheckOptions(std::nullopt);
}
BENCHMARK(BM_OpenToFirstFrame)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("check")
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::MainWindowEnvironment environment;
    if (!environment.ok()) return 1;
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
