// The log pane: a plain-text memo whose line 0 is the newest line. Lines are inserted at the
// top and the oldest removed at the bottom, each as one edit without undo history and without
// laying out any line, so a log left running for days takes a line nearly as fast as a fresh
// one, and a long received chunk costs its layout only when it is painted.
#pragma once

#include <QPlainTextEdit>
#include <QTimer>

class LogView final : public QPlainTextEdit {
public:
    explicit LogView(QWidget* parent = nullptr);

    int lineCount() const;
    QString line(int index) const;
    QStringList lines() const;

    void insertTopLine(const QString& text);
    void removeBottomLine();

    // Painting is suspended while lines go in; resuming is coalesced, so a burst of lines
    // costs one repaint.
    void suspendRepaint();
    void resumeRepaint();

private:
    QTimer m_repaintTimer;
};
