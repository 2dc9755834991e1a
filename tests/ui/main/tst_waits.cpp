// The waits of the request/reply exchange while the wall clock is stepped, as a time server
// does: they measure time on a clock that no step moves.
#include "link/BoxSession.h"
#include "link/ReceiveBuffer.h"
#include "ui/main/GuiWaits.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <ctime>
#include <dlfcn.h>
#include <sys/time.h>

namespace {

std::atomic<time_t> wallClockStep{0}; // seconds added to the wall clock

template <typename Function>
Function nextDefinition(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

// Every reader of the wall clock in this process, Qt included, sees the stepped time.
extern "C" int clock_gettime(clockid_t clock, timespec* time) noexcept
{
    static const auto real = nextDefinition<int (*)(clockid_t, timespec*)>("clock_gettime");
    const int result = real(clock, time);
    if (result == 0 && clock == CLOCK_REALTIME)
        time->tv_sec += wallClockStep;
    return result;
}

extern "C" int gettimeofday(timeval* time, void* zone) noexcept
{
    static const auto real = nextDefinition<int (*)(timeval*, void*)>("gettimeofday");
    const int result = real(time, zone);
    if (result == 0)
        time->tv_sec += wallClockStep;
    return result;
}

class TestWaits : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { wallClockStep = 0; }

    void waitLastsThroughAClockStepForward()
    {
        QTimer::singleShot(0, [] { wallClockStep = 3600; });
        QElapsedTimer elapsed;
        elapsed.start();
        WaitMs(500);
        QVERIFY(elapsed.elapsed() >= 500);
    }

    void replyWaitLastsThroughAClockStepForward()
    {
        QTimer::singleShot(0, [] { wallClockStep = 3600; });
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(!WaitForReply(ReceiveBuffer(), 1, ReplyTimeout));
        QVERIFY(elapsed.elapsed() >= 3000);
    }
};

QTEST_GUILESS_MAIN(TestWaits)
#include "tst_waits.moc"
