// Paints log lines of a fixed-pitch font from their characters alone, without a text layout:
// of each line only the columns inside the exposed rectangle, with the parts of selections
// and the caret that fall there. What a line costs follows the width of the pane, not the
// length of the line.
#pragma once

#include "ui/main/FixedPitchFont.h"

#include <QList>
#include <QTextLayout>

class QPainter;
class QTextBlock;

class FixedPitchLinePainter {
public:
    FixedPitchLinePainter(QPainter& painter, const FixedPitchFont& font, const QRect& exposed, int caretWidth);

    // Paints `block` with its first character's cell at `origin` (top left). `selections`
    // are in characters of the block, as a text layout takes them; `caret` is the caret's
    // position in the block, or -1 when it is not shown there.
    void paint(const QTextBlock& block, const QPointF& origin, const QList<QTextLayout::FormatRange>& selections,
               int caret) const;

private:
    struct Columns {
        int first;
        int end;
        bool isEmpty() const { return end <= first; }
    };
    // The columns of [from, to) that fall inside the exposed rectangle.
    Columns visible(qreal left, int from, int to) const;
    QRectF cells(const QPointF& origin, const Columns& columns) const;
    void drawText(const QString& text, const QPointF& origin, const Columns& columns) const;

    QPainter& m_painter;
    const FixedPitchFont& m_font;
    QRect m_exposed;
    int m_caretWidth;
};
