#include "ui/installer/PointDishDialog.h"

#include "app/InstallerFiles.h"
#include "app/SystemString.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"
#include "ui/installer/SkyView.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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
    : InstallerDialog(parent, "PointDishDialog", QStringLiteral("Point the Dish"), std::move(send))
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
    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);

    QPushButton* goTo = addSendButton("goTo", QStringLiteral("Go To"), [this]() -> std::optional<std::vector<DiseqcMessage>> {
        if (!m_aim)
            return std::nullopt;
        return std::vector<DiseqcMessage>{m_aim->gotoMessage};
    });
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(goTo, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_sky = new SkyView(m_satellites);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(m_sky, 1);
    layout->addWidget(buttons);
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
    m_problem->setText(problem);
    // Said again where the keyboard is when it comes back to the edits.
    m_site->setAccessibleDescription(problem);
    m_satellite->setAccessibleDescription(problem);
    m_date->setAccessibleDescription(problem);
    // Figures that wrap onto more lines take their room from the sky, down to its least, and
    // then from the dialog's height.
    layout()->activate();
    if (const int needed = layout()->totalHeightForWidth(width()); needed > height())
        resize(width(), needed);
}

void PointDishDialog::hideEvent(QHideEvent* event)
{
    if (m_typedSite) {
        const std::string typed = formatSite(*m_typedSite);
        if (typed != m_rememberedSite && rememberSite(m_settingsFile, *m_typedSite))
            m_rememberedSite = typed;
    }
    InstallerDialog::hideEvent(event);
}
