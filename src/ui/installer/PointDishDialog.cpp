#include "ui/installer/PointDishDialog.h"

#include "app/RememberedDish.h"
#include "app/SiteFiles.h"
#include "app/SystemString.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"
#include "protocol/MotorEstimate.h"
#include "ui/installer/MoveProgressBar.h"
#include "ui/installer/SkyView.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>

namespace {

// The figures as the dialog names them, in the order the aim gives them.
struct FigureRow {
    const char* name;
    const char* caption;
};
constexpr FigureRow FigureRows[] = {
    {"azimuth", "Azimuth"},
    {"compass", "Compass bearing"},
    {"elevation", "Elevation"},
    {"lnbSkew", "LNB skew"},
    {"motor", "Motor"},
    {"elevationScale", "Elevation scale"},
    {"dishDeclination", "Dish declination"},
    {"centreElevation", "Elevation at centre"},
    {"message", "Message"},
};

QLineEdit* newEdit(const char* name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

PointDishDialog::PointDishDialog(QWidget* parent, std::string settingsFile, DiseqcSender send)
    : BusSendingDialog(parent, "PointDishDialog", QStringLiteral("Point the Dish"), std::move(send))
    , m_settingsFile(std::move(settingsFile))
    , m_satellites(knownSatellites(m_settingsFile))
{
    auto* form = new QFormLayout;
    m_site = newEdit("site");
    m_site->setPlaceholderText(QStringLiteral("52.52N,13.40E"));
    form->addRow(QStringLiteral("Site"), m_site);
    m_satellite = newEdit("satellite");
    m_satellite->setPlaceholderText(QStringLiteral("19.2E or Hot Bird"));
    form->addRow(QStringLiteral("Satellite"), m_satellite);
    m_date = newEdit("date");
    m_date->setPlaceholderText(QString::fromStdString(formatDate(today())));
    m_date->setToolTip(QStringLiteral("YYYY-MM-DD, for the compass bearing; empty for today"));
    form->addRow(QStringLiteral("Date"), m_date);
    m_position = newFigure("position", QStringLiteral("Orbital position"));
    addFigureRow(form, QStringLiteral("Position"), m_position);
    for (const FigureRow& row : FigureRows) {
        QLabel* figure = newFigure(row.name, QString::fromLatin1(row.caption));
        addFigureRow(form, QString::fromLatin1(row.caption), figure);
        m_figures.push_back(figure);
    }
    m_speed = new QDoubleSpinBox;
    m_speed->setObjectName(QStringLiteral("motorSpeed"));
    m_speed->setRange(0.1, MotorSpeed::Fastest);
    m_speed->setSingleStep(0.1);
    m_speed->setSuffix(QStringLiteral(" degrees/s"));
    m_speed->setValue(MotorSpeed::Default);
    form->addRow(QStringLiteral("Motor speed"), m_speed);
    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);

    QPushButton* goTo = addSendButton("goTo", QStringLiteral("Go To"), [this]() -> std::optional<std::vector<DiseqcMessage>> {
        if (!m_aim)
            return std::nullopt;
        return std::vector<DiseqcMessage>{m_aim->gotoMessage};
    });
    QPushButton* halt = addSendButton("halt", QStringLiteral("Halt"), [] {
        return std::optional<std::vector<DiseqcMessage>>({Diseqc::motorHalt()});
    });
    auto* stopped = new QPushButton(QStringLiteral("Stopped Now"));
    stopped->setObjectName(QStringLiteral("stoppedNow"));
    stopped->setEnabled(false);
    auto* move = new QHBoxLayout;
    for (QPushButton* button : {goTo, halt, stopped})
        move->addWidget(button);
    move->addStretch();
    m_turning = new MoveProgressBar;
    connect(m_turning, &MoveProgressBar::turningChanged, stopped, &QWidget::setEnabled);
    connect(stopped, &QPushButton::clicked, this, &PointDishDialog::stoppedNow);
    auto* buttons = new QDialogButtonBox;
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_sky = new SkyView(m_satellites);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addLayout(move);
    layout->addWidget(m_turning);
    layout->addWidget(m_sky, 1);
    layout->addWidget(buttons);
    // The send buttons belong to the dialog from their start: Tab takes them in their row.
    QWidget* const order[] = {m_speed, goTo, halt, stopped, m_sky, close};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    setMinimumWidth(640);
    setFirstEdit(m_site);

    if (const std::optional<StoredSite> stored = storedSite(m_settingsFile)) {
        m_site->setText(fromSystem(stored->text()));
        try {
            m_rememberedSite = formatSite(siteFromText(stored->text()));
        } catch (const InputError&) {
            // Said in the dialog once it shows its figures.
        }
    }
    connect(m_site, &QLineEdit::textChanged, this, [this] { showFigures(); });
    connect(m_site, &QLineEdit::editingFinished, this, [this] { rememberTypedSite(); });
    connect(m_satellite, &QLineEdit::textChanged, this, [this] { showFigures(); });
    connect(m_date, &QLineEdit::textChanged, this, [this] { showFigures(); });
    showFigures();
}

void PointDishDialog::showFigures()
{
    m_aim.reset();
    m_typedSite.reset();
    QString problem;
    const QString site = m_site->text().trimmed();
    const QString satellite = m_satellite->text().trimmed();
    try {
        // Nothing typed yet is no fault to point out, only what is still wanted.
        if (site.isEmpty())
            throw InputError("Type the dish's site: latitude and longitude.");
        m_typedSite = siteFromText(site.toStdString());
        if (satellite.isEmpty())
            throw InputError("Type a satellite: its longitude or its name.");
        m_aim = aimAt(*m_typedSite, satelliteLongitude(satellite.toStdString(), m_satellites));
    } catch (const InputError& error) {
        problem = QString::fromStdString(error.what());
    }

    // A date that does not read as one leaves only the compass without a figure.
    std::optional<CalendarDate> date;
    try {
        const QString dateText = m_date->text().trimmed();
        date = dateText.isEmpty() ? today() : dateFromText(dateText.toStdString());
    } catch (const InputError& error) {
        problem += (problem.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromStdString(error.what())
            + QStringLiteral(", or nothing for today.");
    }

    showFigure(m_position, m_aim ? QString::fromStdString(formatLongitude(m_aim->satelliteLongitude)) : QString());
    m_sky->showSky(m_typedSite, m_aim ? std::optional<double>(m_aim->satelliteLongitude) : std::nullopt);
    const std::vector<AimFigure> figures = m_aim ? aimFigures(*m_aim, date) : std::vector<AimFigure>(m_figures.size());
    for (std::size_t i = 0; i < m_figures.size(); ++i)
        showFigure(m_figures[i], QString::fromStdString(figures[i].text));
    if (!m_siteNotRemembered.isEmpty())
        problem += (problem.isEmpty() ? QString() : QStringLiteral("\n")) + m_siteNotRemembered;
    m_problem->setText(problem);
    // Said again where the keyboard is when it comes back to the edits.
    m_site->setAccessibleDescription(problem);
    m_satellite->setAccessibleDescription(problem);
    m_date->setAccessibleDescription(problem);
}

void PointDishDialog::rememberTypedSite()
{
    if (!m_typedSite || formatSite(*m_typedSite) == m_rememberedSite)
        return;
    const std::optional<std::string> failure = rememberSite(m_settingsFile, *m_typedSite);
    if (!failure)
        m_rememberedSite = formatSite(*m_typedSite);
    m_siteNotRemembered = failure ? QStringLiteral("The site is not kept for the next start: %1.").arg(fromSystem(*failure))
                                  : QString();
    showFigures();
}

void PointDishDialog::followMotor(const MotorEffect& effect)
{
    readSpeedOnce();
    if (effect.change == MotorChange::Turned)
        m_turning->start(*effect.move, m_speed->value());
    else if (effect.change == MotorChange::Lost)
        m_turning->stop(QStringLiteral("Stopped: the dish's place is unknown"));
}

void PointDishDialog::stoppedNow()
{
    const MoveCountdown& countdown = m_turning->countdown();
    const double seconds = countdown.elapsedSeconds();
    const std::optional<double> speed = measuredSpeed(countdown.move(), seconds);
    if (!speed) {
        m_turning->stop(QStringLiteral("Timing the motor takes a turn of at least %1 degrees between known places")
                            .arg(ShortestTimedTurn));
        return;
    }
    if (*speed > MotorSpeed::Fastest) {
        m_turning->stop(QStringLiteral("Too soon for the motor to have stopped: the speed stays as it was"));
        return;
    }
    m_speed->setValue(*speed);
    m_turning->stop(QStringLiteral("Motor speed now %1 (%2 s for the turn)")
                        .arg(QString::fromStdString(motorSpeedText(*speed)))
                        .arg(seconds, 0, 'f', 1));
}

// The speed is read when first needed, not at the window's start.
void PointDishDialog::readSpeedOnce()
{
    if (m_speedRead)
        return;
    std::string problem;
    m_speedRead = motorSpeedFor(m_settingsFile, std::nullopt, problem);
    m_speed->setValue(*m_speedRead);
    if (!problem.empty())
        m_turning->stop(fromSystem(problem));
}

void PointDishDialog::showEvent(QShowEvent* event)
{
    readSpeedOnce();
    BusSendingDialog::showEvent(event);
}

void PointDishDialog::hideEvent(QHideEvent* event)
{
    if (m_speedRead && m_speed->value() != *m_speedRead && rememberMotorSpeed(m_settingsFile, m_speed->value()).empty())
        m_speedRead = m_speed->value();
    rememberTypedSite();
    BusSendingDialog::hideEvent(event);
}
