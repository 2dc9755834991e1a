// The log pane: a plain-text memo whose line 0 is the newest line. Lines are inserted at the
// top and the oldest removed at the bottom, each as one edit without undo history and without
// laying out any line, so a log left running for days takes a line nearly as fast as a fresh
// one. Lines of the fixed-pitch font are painted without being laid out (LogViewPaint.cpp),
// and the document's layout knows the longest line without laying lines out either.
#pragma once

#include <QPlainTextEdit>
#include <QTimer>

#include <optional>

class LogDocumentLayout;

class LogView final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LogView(QWidget* parent = nullptr);

    int lineCount() const;
    QString line(int index) const;
    QStringList lines() const;

    void insertTopLine(const QString& text);
    void removeBottomLine();

    // The caret's rectangle and scrolling to it, for every line: Qt's own (not virtual) read
    // the line's layout, which a fixed-pitch line that was never laid out does not have, and
    // would put its caret at column 0 (LogViewCaret.cpp).
    QRect cursorRect(const QTextCursor& cursor) const;
    QRect cursorRect() const;
    void ensureCursorVisible();
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Painting is suspended while lines go in; resuming is coalesced, so a burst of lines
    // costs one repaint.
    void suspendRepaint();
    void resumeRepaint();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void setRepaintEnabled(bool enabled);
    // The caret's rectangle in the viewport when its line is fixed-pitch and not laid out.
    std::optional<QRect> unlaidCaretRect(int position) const;
    // Qt scrolled for a caret at column 0 of such a line: scrolls from `scrolledBefore` for
    // the caret's true column instead, as Qt would for a laid-out line.
    void followUnlaidCaret(int scrolledBefore);
    // A click or drag is placed by the layout of the line under the pointer: that one line is
    // laid out first.
    void layOutLineAt(const QPoint& viewportPoint);

    LogDocumentLayout* m_layout;
    QTimer m_repaintTimer;
};
