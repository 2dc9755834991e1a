// "Switches and Single Cable": a transponder and the LNB give a switch port's messages
// (DiSEqC 1.0 and 1.1, with repeats, in either order and with a pause of the user's) and a
// single-cable channel change (EN 50494 or EN 50607) with the frequency to tune the meter to,
// the tones on all user bands and a band's release, each worked out as it is chosen and sent
// on its own button. The LNB is a universal one, one oscillator, or any other.
#pragma once

#include "ui/installer/BusSendingDialog.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

class SwitchesDialog final : public BusSendingDialog {
    Q_OBJECT

public:
    SwitchesDialog(QWidget* parent, DiseqcSender send);

protected:
    std::chrono::milliseconds messageGap() const override;

private:
    QWidget* createLnbRow();
    QLayout* createCustomLnbRow();
    QWidget* createSwitchPart();
    QWidget* createSingleCablePart();
    // The position list and the user band's range follow the standard.
    void followStandard();
    void showMessages();

    // The LNB's tuning for the transponder; throws InputError.
    LnbTuning tuning() const;
    Lnb lnb() const;
    Diseqc::SwitchChoice switchChoice() const;
    Diseqc::ChannelChoice channelChoice() const;
    // The tones and the release, which need no transponder.
    void showUserBandMessages();

    QLineEdit* m_transponder = nullptr;
    QComboBox* m_lnb = nullptr;
    QSpinBox* m_oscillator = nullptr;
    QSpinBox* m_lowOscillator = nullptr;
    QSpinBox* m_highOscillator = nullptr;
    QSpinBox* m_switchFrequency = nullptr;
    QSpinBox* m_port = nullptr;
    QSpinBox* m_uncommitted = nullptr;
    QComboBox* m_order = nullptr;
    QSpinBox* m_repeats = nullptr;
    QSpinBox* m_pause = nullptr;
    QLabel* m_switchMessage = nullptr;
    QComboBox* m_standard = nullptr;
    QSpinBox* m_userBand = nullptr;
    QSpinBox* m_bandFrequency = nullptr;
    QComboBox* m_position = nullptr;
    QSpinBox* m_pin = nullptr;
    QLabel* m_channelMessage = nullptr;
    QLabel* m_tuneTo = nullptr;
    QLabel* m_tonesMessage = nullptr;
    QLabel* m_releaseMessage = nullptr;

    std::optional<std::vector<DiseqcMessage>> m_switchMessages;
    std::optional<Diseqc::ChannelChange> m_channelChange;
    std::optional<DiseqcMessage> m_tones;
    std::optional<DiseqcMessage> m_release;
};
