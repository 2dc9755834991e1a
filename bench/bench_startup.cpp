// Start-up: from the start of a process until its main window is first exposed, for the
// program's main window and, beside it, a bare QMainWindow of the same size built by the
// same executable. Each run is a process of its own, so that every one loads its libraries
// and fonts afresh; the two kinds alternate, and the figures are medians. The program's window
// is built through the same start-up steps as the program's entry. Beside the times, each
// child's resident memory at that moment.
#include "app/DesktopIdentity.h"
#include "app/StartUpWarmUp.h"
#include "BenchWindow.h"
#include "ProcessFigures.h"
#include "Samples.h"

#include <QApplication>
#include <QMainWindow>
#include <QProcess>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <map>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RunsEach = 31;
const QString ChildOption = QStringLiteral("--child");
const QString ProgramWindow = QStringLiteral("vantorel");
const QString BareWindow = QStringLiteral("bare");
const QSize DefaultClient(467, 331);

// Monotonic nanoseconds: the same clock in the parent and in the child.
long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// In the child: prints "<step> <ns>" lines for the parent to read.
void mark(const char* step)
{
    std::printf("%s %lld\n", step, nowNs());
}

// Ends the child at the first expose of any of its windows.
class FirstExpose final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            mark("exposed");
            std::printf("resident %lld\n", static_cast<long long>(residentBytes()));
            std::fflush(stdout);
            std::_Exit(0); // nothing after the expose is measured
        }
        return false;
    }
};

int runChild(int argc, char* argv[], const QString& kind)
{
    mark("main");
    // The program's own start-up steps; the bare window takes Qt's.
    std::optional<StartUpWarmUp> warmUp;
    if (kind == ProgramWindow)
        warmUp.emplace();
    QApplication application(argc, argv);
    FirstExpose firstExpose;
    application.installEventFilter(&firstExpose);
    mark("application");
    if (kind == ProgramWindow) {
        warmUp->loadImageReaders(windowIconFile());
        BenchWindow bench({});
        applyDesktopIdentity();
        warmUp->finish();
        mark("constructed");
        bench.form().show();
        mark("shown");
        return application.exec();
    }
    QMainWindow window;
    window.resize(DefaultClient);
    mark("constructed");
    window.show();
    mark("shown");
    return application.exec();
}

// One child run: each step's milliseconds after the process was started, and its resident
// MiB at the expose.
struct ChildRun {
    std::map<std::string, double> steps;
    double residentMiB = 0;
};

ChildRun timeChild(const QString& executable, const QString& kind)
{
    QProcess child;
    const long long start = nowNs();
    child.start(executable, {ChildOption, kind});
    child.waitForFinished();
    ChildRun run;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 2)
            continue;
        if (fields[0] == "resident")
            run.residentMiB = fields[1].toLongLong() / (1024.0 * 1024.0);
        else
            run.steps[fields[0].toStdString()] = (fields[1].toLongLong() - start) / 1e6;
    }
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == ChildOption)
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication application(argc, argv);
    const QString executable = QCoreApplication::applicationFilePath();
    std::map<QString, std::map<std::string, std::vector<double>>> runs;
    std::map<QString, std::vector<double>> resident;
    for (int i = 0; i < RunsEach; ++i) {
        for (const QString& kind : {ProgramWindow, BareWindow}) {
            const ChildRun run = timeChild(executable, kind);
            for (const auto& [step, ms] : run.steps)
                runs[kind][step].push_back(ms);
            resident[kind].push_back(run.residentMiB);
        }
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("bench_startup: ms after process start, median of %d runs each (platform %s)\n", RunsEach,
                platform ? platform : "default");
    std::printf("target: the main window exposed within 1.5x of the bare window\n");
    std::printf("  %-10s %7s %12s %12s %7s %8s %13s\n", "window", "main", "application", "constructed", "shown",
                "exposed", "resident MiB");
    for (const QString& kind : {ProgramWindow, BareWindow}) {
        auto& steps = runs[kind];
        std::printf("  %-10s %7.1f %12.1f %12.1f %7.1f %8.1f %13.1f\n", qPrintable(kind), median(steps["main"]),
                    median(steps["application"]), median(steps["constructed"]), median(steps["shown"]),
                    median(steps["exposed"]), median(resident[kind]));
    }
    const double ratio = median(runs[ProgramWindow]["exposed"]) / median(runs[BareWindow]["exposed"]);
    std::printf("  main window / bare window: %.2fx\n", ratio);
    return 0;
}
