#include "ui/tables/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr int GlyphSize = 16;

const QColor Outline(0, 0, 0);

void drawGreenTick(QPainter& painter)
{
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.0, 12.5);
    tick.lineTo(13.5, 3.5);
    painter.setPen(QPen(QColor(0, 96, 0), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    painter.setPen(QPen(QColor(0, 192, 0), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
}

void drawRedCross(QPainter& painter)
{
    const QLineF strokes[] = {{3.5, 3.5, 12.5, 12.5}, {12.5, 3.5, 3.5, 12.5}};
    painter.setPen(QPen(QColor(128, 0, 0), 3.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLines(strokes, 2);
    painter.setPen(QPen(QColor(255, 0, 0), 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLines(strokes, 2);
}

void drawDiskette(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Outline);
    painter.setBrush(QColor(0, 0, 128));
    painter.drawRect(1, 1, 13, 13);
    // Metal shutter at the top, with its slot.
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRect(4, 1, 7, 5);
    painter.fillRect(8, 2, 2, 3, QColor(0, 0, 128));
    // Paper label at the bottom, with two written lines.
    painter.setBrush(Qt::white);
    painter.drawRect(3, 8, 9, 6);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(5, 10, 10, 10);
    painter.drawLine(5, 12, 10, 12);
}

void drawOpenFolder(QPainter& painter)
{
    painter.setPen(QPen(Outline, 1.0));
    // Back of the folder with its tab.
    painter.setBrush(QColor(192, 160, 0));
    painter.drawPolygon(QPolygonF({{0.5, 3.5}, {5.5, 3.5}, {6.5, 4.5}, {12.5, 4.5}, {12.5, 13.5}, {0.5, 13.5}}));
    // Front cover swung open towards the viewer.
    painter.setBrush(QColor(255, 224, 64));
    painter.drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {0.5, 13.5}}));
}

void drawBlankPage(QPainter& painter)
{
    painter.setPen(QPen(QColor(64, 64, 64), 1.0));
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({{2.5, 0.5}, {9.5, 0.5}, {13.5, 4.5}, {13.5, 15.5}, {2.5, 15.5}}));
    // The folded corner.
    painter.setBrush(QColor(192, 192, 192));
    painter.drawPolygon(QPolygonF({{9.5, 0.5}, {9.5, 4.5}, {13.5, 4.5}}));
}

} // namespace

QPixmap glyphPixmap(Glyph glyph)
{
    QPixmap pixmap(GlyphSize, GlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case Glyph::GreenTick:
        drawGreenTick(painter);
        break;
    case Glyph::RedCross:
        drawRedCross(painter);
        break;
    case Glyph::Diskette:
        drawDiskette(painter);
        break;
    case Glyph::OpenFolder:
        drawOpenFolder(painter);
        break;
    case Glyph::BlankPage:
        drawBlankPage(painter);
        break;
    }
    return pixmap;
}
