// "Turning": the dish's move counted down in a progress bar whose text says the seconds left,
// from the move's estimate at the motor's speed.
#pragma once

#include "protocol/MotorEstimate.h"

#include <QProgressBar>
#include <QTimer>

class MoveProgressBar final : public QProgressBar {
    Q_OBJECT

public:
    explicit MoveProgressBar(QWidget* parent = nullptr);

    // A new move starts the count again, from where the last one was heading.
    void start(const MotorMove& move, double speed);
    // Ends the count at once, saying `text` instead.
    void stop(const QString& text);
    bool turning() const { return m_countdown.running(); }
    const MoveCountdown& countdown() const { return m_countdown; }

signals:
    void turningChanged(bool turning);

private:
    void showTime();
    void say(const QString& text);

    MoveCountdown m_countdown;
    QTimer m_tick;
};
