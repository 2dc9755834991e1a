// "Switches and Single Cable": a transponder and the LNB give a switch port's messages
// (DiSEqC 1.0 and 1.1, with repeats) and a single-cable channel change (EN 50494 or EN 50607)
// with the frequency to tune the meter to, each worked out as it is chosen and sent on its
// own button.
#pragma once

#include "ui/installer/InstallerDialog.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

class SwitchesDialog final : public InstallerDialog {
    Q_OBJECT

public:
    SwitchesDialog(QWidget* parent, DiseqcSender send);

private:
    QWidget* createLnbRow();
    QWidget* createSwitchPart();
    QWidget* createSingleCablePart();
    // The position list and the user band's range follow the standard.
    void followStandard();
    void showMessages();

    // The LNB's tuning for the transponder; throws InputError.
    LnbTuning tuning() const;
    Diseqc::SwitchChoice switchChoice() const;
    Diseqc::ChannelChoice channelChoice() const;

    QLineEdit* m_transponder = nullptr;
    QComboBox* m_lnb = nullptr;
    QSpinBox* m_oscillator = nullptr;
    QSpinBox* m_port = nullptr;
    QSpinBox* m_uncommitted = nullptr;
    QSpinBox* m_repeats = nullptr;
    QLabel* m_switchMessage = nullptr;
    QComboBox* m_standard = nullptr;
    QSpinBox* m_userBand = nullptr;
    QSpinBox* m_bandFrequency = nullptr;
    QComboBox* m_position = nullptr;
    QSpinBox* m_pin = nullptr;
    QLabel* m_channelMessage = nullptr;
    QLabel* m_tuneTo = nullptr;

    std::optional<std::vector<DiseqcMessage>> m_switchMessages;
    std::optional<Diseqc::ChannelChange> m_channelChange;
};
