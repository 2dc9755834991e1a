// Point the Dish's picture of the site's sky: the horizon, the geostationary arc, the known
// positions above the horizon with their longitudes and the chosen satellite with its bearing,
// painted at whatever size the dialog gives it from what SkyChart places. Named "Sky" for a
// screen reader, which hears the picture in words as its description.
#pragma once

#include "protocol/DishPointing.h"

#include <QWidget>

#include <optional>

class SatelliteList;
struct SkyArea;

class SkyView final : public QWidget {
    Q_OBJECT

public:
    // `list` outlives the view.
    explicit SkyView(const SatelliteList& list, QWidget* parent = nullptr);

    // No site: an empty sky. The chosen longitude is highlighted when it is above the horizon.
    void showSky(const std::optional<GeoSite>& site, std::optional<double> chosenLongitude);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SkyArea skyArea() const;

    const SatelliteList& m_list;
    std::optional<GeoSite> m_site;
    std::optional<double> m_chosen;
};
