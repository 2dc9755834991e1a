#include "ui/installer/PointDishDialog.h"

#include "app/InstallerFiles.h"
#include "app/SystemString.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"

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
    {"azimuth", "Azimuth"}, {"elevation", "Elevation"}, {"lnbSkew", "LNB skew"},
    {"motor", "Motor"},     {"message", "Message"},
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

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(420);
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

    showFigure(m_position, m_aim ? QString::fromStdString(formatLongitude(m_aim->satelliteLongitude)) : QString());
    const std::vector<AimFigure> figures = m_aim ? aimFigures(*m_aim) : std::vector<AimFigure>(m_figures.size());
    for (std::size_t i = 0; i < m_figures.size(); ++i)
        showFigure(m_figures[i], QString::fromStdString(figures[i].text));
    if (!m_siteNotRemembered.isEmpty())
        problem += (problem.isEmpty() ? QString() : QStringLiteral("\n")) + m_siteNotRemembered;
    m_problem->setText(problem);
    // Said again where the keyboard is when it comes back to the edits.
    m_site->setAccessibleDescription(problem);
    m_satellite->setAccessibleDescription(problem);
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

void PointDishDialog::hideEvent(QHideEvent* event)
{
    rememberTypedSite();
    InstallerDialog::hideEvent(event);
}
