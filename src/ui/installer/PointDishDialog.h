// "Point the Dish": the dish's site and a satellite, by longitude or by name, give the
// figures to set the dish up with (azimuth, the compass bearing on the date, elevation, LNB
// skew, the motor's angle and mounting) and the message that turns a polar mount there,
// worked out as they are typed, beside a picture of the site's sky; "Go To" sends it, and the
// move it makes is counted down at the motor's speed; "Halt" stops the dish.
#pragma once

#include "ui/installer/BusSendingDialog.h"

#include "protocol/MotorMemory.h"
#include "protocol/SatelliteAim.h"
#include "protocol/SatelliteList.h"

#include <optional>
#include <string>

class MoveProgressBar;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class SkyView;

class PointDishDialog final : public BusSendingDialog {
    Q_OBJECT

public:
    // The site starts from the settings' [site] section, else from the one last typed, which
    // the dialog remembers beside `settingsFile` when it closes.
    PointDishDialog(QWidget* parent, std::string settingsFile, DiseqcSender send);

    // What a message the window sent did to the dish: a move is counted down, a halt (or any
    // move to an unknown place) ends the count.
    void followMotor(const MotorEffect& effect);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showFigures();
    // Writes the typed site for the next start, and says in the dialog when it cannot.
    void rememberTypedSite();
    // The motor's speed from the time the move took until the installer heard it stop.
    void stoppedNow();
    void readSpeedOnce();

    const std::string m_settingsFile;
    const SatelliteList m_satellites;
    std::optional<GeoSite> m_typedSite; // none while the site does not read as one
    std::optional<SatelliteAim> m_aim;  // none while the site or the satellite does not make sense
    std::string m_rememberedSite;       // as last written or read, to write only a change
    QString m_siteNotRemembered;        // why the last write failed; empty after one that worked
    std::optional<double> m_speedRead;  // read at the first showing, to write only a change

    QLineEdit* m_site = nullptr;
    QLineEdit* m_satellite = nullptr;
    QLineEdit* m_date = nullptr;
    QLabel* m_position = nullptr;
    std::vector<QLabel*> m_figures; // in the order the aim's figures come
    QLabel* m_problem = nullptr;
    QDoubleSpinBox* m_speed = nullptr;
    MoveProgressBar* m_turning = nullptr;
    SkyView* m_sky = nullptr;
};
