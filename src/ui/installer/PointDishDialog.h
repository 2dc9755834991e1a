// "Point the Dish": the dish's site and a satellite, by longitude or by name, give the
// figures to set the dish up with (azimuth, the compass bearing on the date, elevation, LNB
// skew, the motor's angle and mounting) and the message that turns a polar mount there,
// worked out as they are typed, beside a picture of the site's sky; "Go To" sends it.
#pragma once

#include "ui/installer/InstallerDialog.h"

#include "protocol/SatelliteAim.h"
#include "protocol/SatelliteList.h"

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class SkyView;

class PointDishDialog final : public InstallerDialog {
    Q_OBJECT

public:
    // The site starts from the settings' [site] section, else from the one last typed, which
    // the dialog remembers beside `settingsFile` when it closes.
    PointDishDialog(QWidget* parent, std::string settingsFile, DiseqcSender send);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showFigures();

    const std::string m_settingsFile;
    const SatelliteList m_satellites;
    std::optional<GeoSite> m_typedSite; // none while the site does not read as one
    std::optional<SatelliteAim> m_aim;  // none while the site or the satellite does not make sense
    std::string m_rememberedSite;       // as last written or read, to write only a change

    QLineEdit* m_site = nullptr;
    QLineEdit* m_satellite = nullptr;
    QLineEdit* m_date = nullptr;
    QLabel* m_position = nullptr;
    std::vector<QLabel*> m_figures; // in the order the aim's figures come
    QLabel* m_problem = nullptr;
    SkyView* m_sky = nullptr;
};
