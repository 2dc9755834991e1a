#include "ui/installer/SwitchesDialog.h"

#include "protocol/InputError.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Diseqc;

namespace {

constexpr int OneOscillatorMHz = 10750;
// The LNB list's rows.
enum LnbKind { Universal, OneOscillator, Custom };

// A spin box whose lowest value stands for none.
QSpinBox* newSpin(const char* name, int lowest, int highest, int value, const QString& none = {})
{
    auto* spin = new QSpinBox;
    spin->setObjectName(QLatin1String(name));
    spin->setRange(lowest, highest);
    spin->setValue(value);
    spin->setSpecialValueText(none);
    return spin;
}

QComboBox* newList(const char* name, const QStringList& items)
{
    auto* list = new QComboBox;
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    return list;
}

// A part of the dialog under its heading, with a form for its rows. Not a group box: its
// title would be read out as the label of every control in it.
QWidget* newPart(const char* name, const QString& heading)
{
    auto* part = new QFrame;
    part->setObjectName(QLatin1String(name));
    part->setFrameShape(QFrame::StyledPanel);
    auto* form = new QFormLayout(part);
    // Lists and numbers keep their size; the figures take the width there is.
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    auto* title = new QLabel(heading);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    form->addRow(title);
    return part;
}

// A part's buttons, at the part's right.
QLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

QSpinBox* newMHzSpin(const char* name, int value)
{
    QSpinBox* spin = newSpin(name, 1, 99999, value);
    spin->setSuffix(QStringLiteral(" MHz"));
    return spin;
}

// A control with its caption before it, in a row of several.
void addLabelled(QHBoxLayout* row, const QString& caption, QWidget* control)
{
    auto* label = new QLabel(caption);
    label->setBuddy(control);
    row->addWidget(label);
    row->addWidget(control);
}

SingleCable standardAt(int index)
{
    return index == 0 ? SingleCable::En50494 : SingleCable::En50607;
}

// Several messages on one line, in the order they are sent.
QString messagesText(const std::vector<DiseqcMessage>& messages)
{
    QStringList texts;
    for (const DiseqcMessage& message : messages)
        texts << QString::fromStdString(Diseqc::messageText(message));
    return texts.join(QStringLiteral(", then "));
}

} // namespace

SwitchesDialog::SwitchesDialog(QWidget* parent, DiseqcSender send)
    : BusSendingDialog(parent, "SwitchesDialog", QStringLiteral("Switches and Single Cable"), std::move(send))
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createLnbRow());
    layout->addWidget(createSwitchPart());
    layout->addWidget(createSingleCablePart());
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(460);
    setFirstEdit(m_transponder);

    for (QSpinBox* spin : {m_oscillator, m_lowOscillator, m_highOscillator, m_switchFrequency, m_port, m_uncommitted,
                           m_repeats, m_userBand, m_bandFrequency, m_pin})
        connect(spin, qOverload<int>(&QSpinBox::valueChanged), this, [this] { showMessages(); });
    connect(m_transponder, &QLineEdit::textChanged, this, [this] { showMessages(); });
    connect(m_lnb, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        m_oscillator->setEnabled(m_lnb->currentIndex() == OneOscillator);
        for (QSpinBox* spin : {m_lowOscillator, m_highOscillator, m_switchFrequency})
            spin->setEnabled(m_lnb->currentIndex() == Custom);
        showMessages();
    });
    connect(m_standard, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { followStandard(); });
    for (QComboBox* list : {m_position, m_order})
        connect(list, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { showMessages(); });
    followStandard();
}

QWidget* SwitchesDialog::createLnbRow()
{
    auto* row = new QWidget;
    auto* form = new QFormLayout(row);
    form->setContentsMargins(0, 0, 0, 0);
    m_transponder = new QLineEdit;
    m_transponder->setObjectName(QStringLiteral("transponder"));
    m_transponder->setPlaceholderText(QStringLiteral("11362H"));
    form->addRow(QStringLiteral("Transponder"), m_transponder);

    m_lnb = newList("lnb", {QStringLiteral("Universal: ") + QString::fromStdString(lnbCaption(UniversalLnb)),
                            QStringLiteral("One oscillator"), QStringLiteral("Custom")});
    m_oscillator = newMHzSpin("oscillator", OneOscillatorMHz);
    m_oscillator->setEnabled(false);
    auto* lnbRow = new QHBoxLayout;
    lnbRow->addWidget(m_lnb, 1);
    addLabelled(lnbRow, QStringLiteral("Oscillator"), m_oscillator);
    form->addRow(QStringLiteral("LNB"), lnbRow);
    // A row of several controls takes no buddy of its own.
    qobject_cast<QLabel*>(form->labelForField(lnbRow))->setBuddy(m_lnb);
    form->addRow(QString(), createCustomLnbRow());
    return row;
}

// A custom LNB as --lnb LOW,HIGH,SWITCH gives it, the universal one's figures to start from.
QLayout* SwitchesDialog::createCustomLnbRow()
{
    m_lowOscillator = newMHzSpin("lowOscillator", int(UniversalLnb.lowOscillatorMHz));
    m_highOscillator = newMHzSpin("highOscillator", int(*UniversalLnb.highOscillatorMHz));
    m_switchFrequency = newMHzSpin("switchFrequency", int(UniversalLnb.switchMHz));
    auto* row = new QHBoxLayout;
    addLabelled(row, QStringLiteral("Low oscillator"), m_lowOscillator);
    addLabelled(row, QStringLiteral("High oscillator"), m_highOscillator);
    addLabelled(row, QStringLiteral("Switch at"), m_switchFrequency);
    row->addStretch();
    for (QSpinBox* spin : {m_lowOscillator, m_highOscillator, m_switchFrequency})
        spin->setEnabled(false);
    return row;
}

QWidget* SwitchesDialog::createSwitchPart()
{
    QWidget* part = newPart("switchPart", QStringLiteral("Switch"));
    auto* form = qobject_cast<QFormLayout*>(part->layout());
    m_port = newSpin("port", 1, 4, 1);
    form->addRow(QStringLiteral("Port"), m_port);
    m_uncommitted = newSpin("uncommitted", 0, 16, 0, QStringLiteral("none"));
    form->addRow(QStringLiteral("Uncommitted port"), m_uncommitted);
    m_order = newList("order", {QStringLiteral("Uncommitted first"), QStringLiteral("Committed first")});
    form->addRow(QStringLiteral("Order"), m_order);
    m_repeats = newSpin("repeats", 0, 3, 0);
    form->addRow(QStringLiteral("Repeats"), m_repeats);
    m_pause = newSpin("pause", ShortestGapMs, LongestGapMs, int(MessageGap.count()));
    m_pause->setSuffix(QStringLiteral(" ms"));
    form->addRow(QStringLiteral("Pause between messages"), m_pause);
    m_switchMessage = newFigure("switchMessage", QStringLiteral("Switch message"));
    addFigureRow(form, QStringLiteral("Message"), m_switchMessage);
    form->addRow(buttonRow({addSendButton("sendSwitch", QStringLiteral("Send Switch"), [this] { return m_switchMessages; })}));
    return part;
}

QWidget* SwitchesDialog::createSingleCablePart()
{
    QWidget* part = newPart("singleCablePart", QStringLiteral("Single cable"));
    auto* form = qobject_cast<QFormLayout*>(part->layout());
    m_standard = newList("standard", {QStringLiteral("EN 50494"), QStringLiteral("EN 50607")});
    form->addRow(QStringLiteral("Standard"), m_standard);
    m_userBand = newSpin("userBand", 1, userBandCount(SingleCable::En50494), 1);
    form->addRow(QStringLiteral("User band"), m_userBand);
    m_bandFrequency = newSpin("bandFrequency", LowestIntermediateMHz, HighestIntermediateMHz, 1210);
    m_bandFrequency->setSuffix(QStringLiteral(" MHz"));
    form->addRow(QStringLiteral("Band frequency"), m_bandFrequency);
    m_position = newList("position", {});
    form->addRow(QStringLiteral("Position"), m_position);
    m_pin = newSpin("pin", -1, 255, -1, QStringLiteral("none"));
    form->addRow(QStringLiteral("PIN"), m_pin);
    m_channelMessage = newFigure("channelMessage", QStringLiteral("Channel change message"));
    addFigureRow(form, QStringLiteral("Message"), m_channelMessage);
    m_tuneTo = newFigure("tuneTo", QStringLiteral("Tune the meter to"));
    addFigureRow(form, QStringLiteral("Tune to"), m_tuneTo);
    m_tonesMessage = newFigure("tonesMessage", QStringLiteral("Tones on all bands message"));
    addFigureRow(form, QStringLiteral("Tones"), m_tonesMessage);
    m_releaseMessage = newFigure("releaseMessage", QStringLiteral("Release band message"));
    addFigureRow(form, QStringLiteral("Release"), m_releaseMessage);
    const auto one = [](const std::optional<DiseqcMessage>& message) -> std::optional<std::vector<DiseqcMessage>> {
        if (!message)
            return std::nullopt;
        return std::vector<DiseqcMessage>{*message};
    };
    form->addRow(buttonRow({addSendButton("sendChannelChange", QStringLiteral("Send Channel Change"),
                                          [this, one] {
                                              return one(m_channelChange ? std::optional(m_channelChange->message)
                                                                         : std::nullopt);
                                          }),
                            addSendButton("tones", QStringLiteral("Tones On All Bands"), [this, one] { return one(m_tones); }),
                            addSendButton("releaseBand", QStringLiteral("Release Band"),
                                          [this, one] { return one(m_release); })}));
    return part;
}

void SwitchesDialog::followStandard()
{
    const SingleCable standard = standardAt(m_standard->currentIndex());
    m_userBand->setMaximum(userBandCount(standard));
    const QSignalBlocker quiet(m_position);
    m_position->clear();
    for (int position = 1; position <= positionCount(standard); ++position)
        m_position->addItem(QString::fromStdString(positionName(standard, position)));
    showMessages();
}

std::chrono::milliseconds SwitchesDialog::messageGap() const
{
    return std::chrono::milliseconds(m_pause->value());
}

Lnb SwitchesDialog::lnb() const
{
    switch (m_lnb->currentIndex()) {
    case OneOscillator: return {double(m_oscillator->value()), std::nullopt, 0};
    case Custom: return switchedLnb(m_lowOscillator->value(), m_highOscillator->value(), m_switchFrequency->value());
    default: return UniversalLnb;
    }
}

LnbTuning SwitchesDialog::tuning() const
{
    return tuneLnb(lnb(), parseTransponder(m_transponder->text().toStdString()));
}

SwitchChoice SwitchesDialog::switchChoice() const
{
    SwitchChoice choice{m_port->value(), std::nullopt, m_repeats->value()};
    if (m_uncommitted->value() > 0)
        choice.uncommittedPort = m_uncommitted->value();
    choice.committedFirst = m_order->currentIndex() == 1;
    return choice;
}

ChannelChoice SwitchesDialog::channelChoice() const
{
    ChannelChoice choice;
    choice.standard = standardAt(m_standard->currentIndex());
    choice.userBand = m_userBand->value();
    choice.userBandMHz = m_bandFrequency->value();
    choice.position = m_position->currentIndex() + 1;
    if (m_pin->value() >= 0)
        choice.pin = m_pin->value();
    return choice;
}

void SwitchesDialog::showMessages()
{
    m_switchMessages.reset();
    m_channelChange.reset();
    QString switchText, channelText, tuneText;
    if (m_transponder->text().trimmed().isEmpty()) {
        switchText = channelText = QStringLiteral("Type a transponder: its MHz and polarisation.");
    } else {
        try {
            m_switchMessages = switchMessages(switchChoice(), tuning());
            switchText = messagesText(*m_switchMessages);
        } catch (const InputError& error) {
            switchText = QString::fromStdString(error.what());
        }
        try {
            m_channelChange = channelChange(channelChoice(), tuning());
            channelText = messagesText({m_channelChange->message});
            tuneText = QString::fromStdString(formatMHz(m_channelChange->tuneMHz)) + QStringLiteral(" MHz");
        } catch (const InputError& error) {
            channelText = QString::fromStdString(error.what());
        }
    }
    showFigure(m_switchMessage, switchText);
    showFigure(m_channelMessage, channelText);
    showFigure(m_tuneTo, tuneText);
    showUserBandMessages();
}

void SwitchesDialog::showUserBandMessages()
{
    m_tones.reset();
    m_release.reset();
    const ChannelChoice choice = channelChoice();
    try {
        m_tones = userBandTones(choice.standard, choice.pin);
        showFigure(m_tonesMessage, QString::fromStdString(messageText(*m_tones)));
    } catch (const InputError& error) {
        showFigure(m_tonesMessage, QString::fromStdString(error.what()));
    }
    try {
        m_release = releaseUserBand(choice.standard, choice.userBand, choice.pin);
        showFigure(m_releaseMessage, QStringLiteral("band %1: ").arg(choice.userBand)
                                         + QString::fromStdString(messageText(*m_release)));
    } catch (const InputError& error) {
        showFigure(m_releaseMessage, QString::fromStdString(error.what()));
    }
}
