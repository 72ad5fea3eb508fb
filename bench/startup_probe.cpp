// Starts the full editor as the program does, in the program folder given as the only
// argument, until its map has been painted once; then prints one line
//   painted_ms=<since main> peak_rss_kb=<peak> rss_kb=<now> figures=<n> households=<n> error=<0|1>
// and ends at once (nothing is saved, no question is asked). The benchmark runs it.
#include <QApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/editor_main.h"
#include "forms/hako_set.h"
#include "forms/zumenn.h"
#include "platform/system.h"
#include "platform/ui_services.h"

namespace {

// A field of /proc/self/status in kB: VmRSS now, VmHWM its peak. getrusage's peak is
// no use here: a process spawned by vfork inherits its parent's at exec.
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + key.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER/\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Answers any box a failed start would show, so that the probe never waits.
    tarvek::TScriptedUi ui;
    tarvek::TSingleInstanceLock lock;
    auto form = tarvek::ProgramMain(tarvek::ProEdition(), ui, lock, folder);
    if (!form) {
        std::fprintf(stderr, "the single-instance lock is held or cannot be made\n");
        return 3;
    }
    form->AdoptBlockDialog(std::make_unique<tarvek::Thako>(*form));
    form->Show();
    QElapsedTimer waited;
    waited.start();
    while (form->MapImage.isNull() && waited.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("painted_ms=%.3f peak_rss_kb=%ld rss_kb=%ld figures=%d households=%zu error=%d\n", ms,
                StatusKb("VmHWM"), StatusKb("VmRSS"), form->S.FigureCount, form->S.Households.size(),
                form->MapImage.isNull() ? 1 : int(form->S.StartupError));
    std::fflush(stdout);
    _exit(0);
}
