// Painting the log pane. Its lines are mostly received chunks of thousands of characters, of
// which a pane shows a few hundred: a line of the fixed-pitch font is painted from its
// characters alone (FixedPitchLinePainter) and is never laid out for it; any other line (a
// user may type any character) is laid out and drawn as a plain text edit draws it.
#include "ui/main/LogView.h"

#include "ui/main/FixedPitchLinePainter.h"
#include "ui/main/LogDocumentLayout.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>

namespace {

using PaintContext = QAbstractTextDocumentLayout::PaintContext;

QList<QTextLayout::FormatRange> selectionsIn(const QTextBlock& block, const PaintContext& context)
{
    QList<QTextLayout::FormatRange> ranges;
    const int start = block.position();
    for (const QAbstractTextDocumentLayout::Selection& selection : context.selections) {
        const int from = selection.cursor.selectionStart() - start;
        const int to = selection.cursor.selectionEnd() - start;
        if (from < block.length() && to > 0 && to > from)
            ranges.append({from, to - from, selection.format});
    }
    return ranges;
}

} // namespace

void LogView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.setClipRect(exposed);
    const PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());

    const FixedPitchFont& fixedPitch = m_layout->fixedPitch();
    const FixedPitchLinePainter fixedPitchLines(painter, fixedPitch, exposed, cursorWidth());
    const bool showsCaret = !isReadOnly() || (textInteractionFlags() & Qt::TextSelectableByKeyboard);
    // Text being composed in an input method lives in the caret's line layout only.
    const bool composing = !isReadOnly() && context.cursorPosition < -1;
    const QTextBlock composed = composing ? textCursor().block() : QTextBlock();

    QPointF offset = contentOffset();
    const qreal margin = document()->documentMargin();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && offset.y() <= exposed.bottom();
         block = block.next()) {
        const int caret = showsCaret && block.contains(context.cursorPosition)
            ? context.cursorPosition - block.position()
            : -1;
        if (LogDocumentLayout::isFixedPitch(block) && block.isVisible() && block != composed) {
            if (offset.y() + fixedPitch.lineHeight() > exposed.top())
                fixedPitchLines.paint(block, offset + QPointF(margin, 0), selectionsIn(block, context), caret);
            offset.ry() += fixedPitch.lineHeight();
            continue;
        }
        const qreal height = blockBoundingRect(block).height(); // lays the block out
        if (block.isVisible() && offset.y() + height > exposed.top()) {
            QTextLayout* layout = block.layout();
            layout->draw(&painter, offset, selectionsIn(block, context), exposed);
            if (block == composed)
                layout->drawCursor(&painter, offset, layout->preeditAreaPosition() - (context.cursorPosition + 2),
                                   cursorWidth());
            else if (caret >= 0)
                layout->drawCursor(&painter, offset, caret, cursorWidth());
        }
        offset.ry() += height;
    }
}
