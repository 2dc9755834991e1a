#include "ui/main/FixedPitchLinePainter.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTextBlock>

#include <algorithm>
#include <cmath>

FixedPitchLinePainter::FixedPitchLinePainter(QPainter& painter, const FixedPitchFont& font, const QRect& exposed,
                                             int caretWidth)
    : m_painter(painter)
    , m_font(font)
    , m_exposed(exposed)
    , m_caretWidth(caretWidth)
{
}

void FixedPitchLinePainter::paint(const QTextBlock& block, const QPointF& origin,
                                  const QList<QTextLayout::FormatRange>& selections, int caret) const
{
    const QString text = block.text();
    const int length = static_cast<int>(text.size());
    drawText(text, origin, visible(origin.x(), 0, length));

    for (const QTextLayout::FormatRange& selection : selections) {
        const int end = selection.start + selection.length;
        const Columns selected = visible(origin.x(), selection.start, std::min(end, length));
        QRectF area = selected.isEmpty() ? QRectF() : cells(origin, selected);
        // A selection that goes on past the last character holds the line break, shown as a
        // narrow box behind the text.
        if (end > length) {
            const QRectF lineBreak(origin.x() + length * m_font.advance(), origin.y(), m_font.lineHeight() / 4,
                                   m_font.lineHeight());
            area = area.isNull() ? lineBreak : area.united(lineBreak);
        }
        if (area.isNull() || !area.intersects(m_exposed))
            continue;
        m_painter.save();
        m_painter.fillRect(area, selection.format.background());
        if (selection.format.hasProperty(QTextFormat::ForegroundBrush))
            m_painter.setPen(selection.format.foreground().color());
        // The selected characters are drawn again in the selection's colour; the clip keeps
        // their neighbours' glyph edges out.
        m_painter.setClipRect(area, Qt::IntersectClip);
        drawText(text, origin, selected);
        m_painter.restore();
    }

    if (caret >= 0) {
        const QRectF bar(origin.x() + caret * m_font.advance(), origin.y(), m_caretWidth,
                         m_font.ascent() + m_font.descent());
        const QPainter::CompositionMode mode = m_painter.compositionMode();
        if (m_painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
            m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        m_painter.fillRect(bar, m_painter.pen().brush());
        m_painter.setCompositionMode(mode);
    }
}

FixedPitchLinePainter::Columns FixedPitchLinePainter::visible(qreal left, int from, int to) const
{
    const qreal advance = m_font.advance();
    // A glyph may reach a little into its neighbours' cells: one more column on each side.
    const int first = static_cast<int>(std::floor((m_exposed.left() - left) / advance)) - 1;
    const int end = static_cast<int>(std::ceil((m_exposed.right() + 1 - left) / advance)) + 1;
    return {std::max({from, first, 0}), std::min(to, end)};
}

QRectF FixedPitchLinePainter::cells(const QPointF& origin, const Columns& columns) const
{
    return {origin.x() + columns.first * m_font.advance(), origin.y(), (columns.end - columns.first) * m_font.advance(),
            m_font.lineHeight()};
}

void FixedPitchLinePainter::drawText(const QString& text, const QPointF& origin, const Columns& columns) const
{
    if (columns.isEmpty())
        return;
    m_painter.drawText(QPointF(origin.x() + columns.first * m_font.advance(), origin.y() + m_font.ascent()),
                       text.mid(columns.first, columns.end - columns.first));
}
