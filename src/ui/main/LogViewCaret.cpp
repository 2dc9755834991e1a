// The log pane's caret on lines that are painted without being laid out. Qt places the caret
// from the layout of its line, both for its own queries and for scrolling to it; a line of the
// fixed-pitch font that was never laid out has none, so Qt takes its caret for column 0. The
// pane answers those queries from the fixed-pitch geometry instead, and after each key or
// input-method event scrolls sideways to the true column as Qt does for a laid-out line. Such
// lines stay unlaid: a caret walking through a log of long lines costs no layout per line.
#include "ui/main/LogView.h"

#include "ui/main/LogDocumentLayout.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

std::optional<QRect> LogView::unlaidCaretRect(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    const std::optional<QRectF> inBlock =
        m_layout->unlaidCaretRect(block, position - block.position(), cursorWidth());
    if (!inBlock)
        return std::nullopt;
    const QPointF blockTopLeft = blockBoundingGeometry(block).topLeft() + contentOffset();
    return inBlock->translated(blockTopLeft).toRect();
}

QRect LogView::cursorRect(const QTextCursor& cursor) const
{
    if (cursor.isNull())
        return {};
    return unlaidCaretRect(cursor.position()).value_or(QPlainTextEdit::cursorRect(cursor));
}

QRect LogView::cursorRect() const
{
    return cursorRect(textCursor());
}

QVariant LogView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const QTextCursor cursor = textCursor();
    const int position = query == Qt::ImCursorRectangle ? cursor.position()
                       : query == Qt::ImAnchorRectangle ? cursor.anchor()
                                                        : -1;
    if (position >= 0) {
        if (const std::optional<QRect> caret = unlaidCaretRect(position))
            return QRectF(*caret);
    }
    return QPlainTextEdit::inputMethodQuery(query);
}

void LogView::ensureCursorVisible()
{
    const int scrolledBefore = horizontalScrollBar()->value();
    QPlainTextEdit::ensureCursorVisible();
    followUnlaidCaret(scrolledBefore);
}

void LogView::followUnlaidCaret(int scrolledBefore)
{
    if (!unlaidCaretRect(textCursor().position()))
        return;
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(scrolledBefore);
    const QRect caret = *unlaidCaretRect(textCursor().position());
    const QRect visible = viewport()->rect();
    if (caret.left() < visible.left() || caret.right() > visible.right())
        bar->setValue(caret.center().x() + bar->value() - visible.width() / 2);
}

void LogView::keyPressEvent(QKeyEvent* event)
{
    const int scrolledBefore = horizontalScrollBar()->value();
    QPlainTextEdit::keyPressEvent(event);
    followUnlaidCaret(scrolledBefore);
}

void LogView::inputMethodEvent(QInputMethodEvent* event)
{
    const int scrolledBefore = horizontalScrollBar()->value();
    QPlainTextEdit::inputMethodEvent(event);
    followUnlaidCaret(scrolledBefore);
}

void LogView::layOutLineAt(const QPoint& viewportPoint)
{
    const QTextBlock block = cursorForPosition(viewportPoint).block();
    if (LogDocumentLayout::isFixedPitch(block) && block.layout()->lineCount() == 0)
        m_layout->layOut(block);
}

void LogView::mousePressEvent(QMouseEvent* event)
{
    layOutLineAt(event->position().toPoint());
    QPlainTextEdit::mousePressEvent(event);
}

void LogView::mouseDoubleClickEvent(QMouseEvent* event)
{
    layOutLineAt(event->position().toPoint());
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

void LogView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton)
        layOutLineAt(event->position().toPoint());
    QPlainTextEdit::mouseMoveEvent(event);
}
