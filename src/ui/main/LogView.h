// The log pane: a plain-text memo whose line 0 is the newest line. Lines are inserted at the
// top and the oldest removed at the bottom, each as one edit without undo history and without
// laying out any line, so a log left running for days takes a line nearly as fast as a fresh
// one. Lines of the fixed-pitch font are painted without being laid out (LogViewPaint.cpp),
// and the document's layout knows the longest line without laying lines out either.
#pragma once

#include <QPlainTextEdit>
#include <QTimer>

class LogDocumentLayout;

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setRepaintEnabled(bool enabled);

    LogDocumentLayout* m_layout;
    QTimer m_repaintTimer;
};
