#include "ui/installer/MoveProgressBar.h"

#include <algorithm>

namespace {

// Steps of the bar: smooth enough for a move of a minute.
constexpr int Steps = 1000;
// How often the seconds left are shown again.
constexpr int TickMs = 200;

} // namespace

MoveProgressBar::MoveProgressBar(QWidget* parent)
    : QProgressBar(parent)
{
    setObjectName(QStringLiteral("turning"));
    setAccessibleName(QStringLiteral("Turning"));
    setRange(0, Steps);
    setValue(0);
    say(QStringLiteral("Not turning"));
    m_tick.setInterval(TickMs);
    connect(&m_tick, &QTimer::timeout, this, &MoveProgressBar::showTime);
}

void MoveProgressBar::start(const MotorMove& move, double speed)
{
    m_countdown.start(move, speed);
    m_tick.start();
    showTime();
    emit turningChanged(true);
}

void MoveProgressBar::stop(const QString& text)
{
    const bool wasTurning = m_countdown.running();
    m_countdown.stop();
    m_tick.stop();
    setValue(0);
    say(text);
    if (wasTurning)
        emit turningChanged(false);
}

void MoveProgressBar::showTime()
{
    const double total = m_countdown.totalSeconds();
    setValue(static_cast<int>(Steps * std::min(1.0, m_countdown.elapsedSeconds() / total)));
    if (m_countdown.secondsLeft() > 0) {
        say(QString::fromStdString(m_countdown.text()));
        return;
    }
    m_countdown.stop();
    m_tick.stop();
    say(QStringLiteral("The dish should now be in place"));
    emit turningChanged(false);
}

void MoveProgressBar::say(const QString& text)
{
    setFormat(text);
    setAccessibleDescription(text);
}
