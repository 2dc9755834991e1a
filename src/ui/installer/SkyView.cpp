#include "ui/installer/SkyView.h"

#include "protocol/GeoCoordinates.h"
#include "protocol/SkyChart.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 6;
constexpr double MarkRadius = 2.5;
constexpr double ChosenRadius = 5.0;

QPointF pointOf(const SkyPoint& point) { return {point.x, point.y}; }

// Every 30 degrees of azimuth, the compass's letter where there is one.
QString azimuthCaption(int azimuth)
{
    switch ((azimuth % 360 + 360) % 360) {
    case 0:
        return QStringLiteral("N");
    case 90:
        return QStringLiteral("E");
    case 180:
        return QStringLiteral("S");
    case 270:
        return QStringLiteral("W");
    default:
        return QString::number((azimuth % 360 + 360) % 360);
    }
}

} // namespace

SkyView::SkyView(const SatelliteList& list, QWidget* parent)
    : QWidget(parent)
    , m_list(list)
{
    setObjectName(QStringLiteral("sky"));
    setAccessibleName(QStringLiteral("Sky"));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    showSky(std::nullopt, std::nullopt);
}

void SkyView::showSky(const std::optional<GeoSite>& site, std::optional<double> chosenLongitude)
{
    m_site = site;
    m_chosen = chosenLongitude;
    setAccessibleDescription(site ? QString::fromStdString(skyChart(*site, m_list, m_chosen, skyArea()).description)
                                  : QStringLiteral("No site yet"));
    update();
}

QSize SkyView::sizeHint() const { return {360, 240}; }

QSize SkyView::minimumSizeHint() const { return {240, 160}; }

SkyArea SkyView::skyArea() const
{
    // Room above for the longitudes, below for the azimuths under the horizon.
    const int line = fontMetrics().height();
    return {double(Margin), double(Margin + 3 * line), double(width() - 2 * Margin),
            double(height() - 2 * Margin - 6 * line)};
}

void SkyView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SkyArea area = skyArea();
    const QRectF sky(area.left, area.top, area.width, area.height);
    const QColor text = palette().color(QPalette::Text);
    const QColor faint = palette().color(QPalette::Mid);
    painter.fillRect(rect(), palette().base());
    painter.fillRect(QRectF(0, sky.bottom(), width(), height() - sky.bottom()), palette().window());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    const double centre = m_site ? skyCentreAzimuth(*m_site) : 180.0;
    const int line = fontMetrics().height();

    // 30 and 60 degrees of elevation; the horizon, with the azimuths under it.
    painter.setPen(QPen(faint, 1, Qt::DotLine));
    for (int elevation : {30, 60}) {
        const double y = skyPoint(centre, elevation, centre, area).y;
        painter.drawLine(QPointF(sky.left(), y), QPointF(sky.right(), y));
        painter.drawText(QPointF(sky.left() + 2, y - 2), QStringLiteral("%1°").arg(elevation));
    }
    painter.setPen(text);
    painter.drawLine(sky.bottomLeft(), sky.bottomRight());
    for (int offset = -90; offset <= 90; offset += 30) {
        const double x = skyPoint(centre + offset, 0.0, centre, area).x;
        painter.drawLine(QPointF(x, sky.bottom()), QPointF(x, sky.bottom() + 4));
        const QString caption = azimuthCaption(int(centre) + offset);
        const double half = fontMetrics().horizontalAdvance(caption) / 2.0;
        painter.drawText(QPointF(std::clamp(x - half, 0.0, width() - 2 * half), sky.bottom() + 4 + line), caption);
    }
    if (!m_site)
        return;

    const SkyChart chart = skyChart(*m_site, m_list, m_chosen, area);
    QPainterPath arc;
    for (std::size_t i = 0; i < chart.arc.size(); ++i) {
        if (i == 0)
            arc.moveTo(pointOf(chart.arc[i]));
        else
            arc.lineTo(pointOf(chart.arc[i]));
    }
    painter.setPen(QPen(faint, 1.5));
    painter.drawPath(arc);

    // Each longitude upright above its mark, where it leaves room for the one before.
    painter.setPen(text);
    painter.setBrush(text);
    double lastLabel = -1e9;
    for (const SkyMark& mark : chart.marks) {
        painter.drawEllipse(pointOf(mark.at), MarkRadius, MarkRadius);
        if (std::fabs(mark.at.x - lastLabel) < line)
            continue;
        lastLabel = mark.at.x;
        painter.save();
        painter.translate(mark.at.x + line / 3.0, mark.at.y - 2 * MarkRadius);
        painter.rotate(-90);
        painter.drawText(QPointF(0, 0), QString::fromStdString(formatLongitude(mark.longitude)));
        painter.restore();
    }

    if (chart.chosen) {
        const QColor highlight = palette().color(QPalette::Highlight);
        const QPointF at = pointOf(chart.chosen->at);
        painter.setPen(QPen(highlight, 1.5, Qt::DashLine));
        painter.drawLine(at, QPointF(at.x(), sky.bottom()));
        painter.setPen(QPen(highlight, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, ChosenRadius, ChosenRadius);
        painter.setPen(text);
        const QString bearing = QStringLiteral("%1: azimuth %2, elevation %3")
                                    .arg(QString::fromStdString(formatLongitude(chart.chosen->longitude)))
                                    .arg(chart.chosen->azimuth, 0, 'f', 1)
                                    .arg(chart.chosen->elevation, 0, 'f', 1);
        painter.drawText(QPointF(Margin, height() - Margin - fontMetrics().descent()), bearing);
    }
}
