#include "ui/main/Unit1.h"

#include "app/SettingsFile.h"
#include "app/Unitx.h"
#include "app/UserPaths.h"
#include "ui/main/LogView.h"
#include "ui/main/MenuShortcutPriority.h"
#include "ui/main/RightAnchoredPanel.h"
#include "ui/main/WindowFont.h"
#include "ui/tables/Unit2.h"
#include "ui/tables/Unit3.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 467;
constexpr int ClientHeight = 331;
constexpr int MinimumOuterHeight = 250;
constexpr int OuterFrameHeight = 385 - ClientHeight; // caption, menu bar and borders
constexpr int ModePanelWidth = 100;
constexpr int SendingPanelWidth = 110; // wide enough for the whole "Sending data..."

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vantorel"));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    auto* client = new QWidget(this);
    client->setFont(windowFont());
    setCentralWidget(client);
    createComposerPanel();
    createLogPane();
    createStatusBar();
    createMenus();
    new MenuShortcutPriority(this);

    resize(ClientWidth, menuBar()->sizeHint().height() + ClientHeight);
    setMinimumSize(ClientWidth, menuBar()->sizeHint().height() + MinimumOuterHeight - OuterFrameHeight);

    FormCreate();
    Form2 = new TForm2(this);
    Form3 = new TForm3(this);
    const auto terminating = [this] { return Link.AppTerminating.load(); };
    Form2->setTerminatingCheck(terminating);
    Form3->setTerminatingCheck(terminating);
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::createLogPane()
{
    m = new LogView(centralWidget());
    m->setObjectName(QStringLiteral("m"));
    m->setAccessibleName(QStringLiteral("Log"));
    m->setAccessibleDescription(QStringLiteral("Bytes sent and received, newest line first"));
    // Tab leaves the pane as it leaves every other control, so the keyboard is never caught in it.
    m->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(centralWidget());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(m, 1);
}

void TForm1::createStatusBar()
{
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("sb1"));
    bar->setAccessibleName(QStringLiteral("Status"));
    bar->setSizeGripEnabled(true);
    sbPanel0 = new QLabel(bar);
    sbPanel0->setObjectName(QStringLiteral("sb1Panel0"));
    sbPanel0->setAccessibleName(QStringLiteral("Display mode"));
    sbPanel0->setFixedWidth(ModePanelWidth);
    sbPanel1 = new QLabel(bar);
    sbPanel1->setObjectName(QStringLiteral("sb1Panel1"));
    sbPanel1->setAccessibleName(QStringLiteral("Transfer"));
    sbPanel1->setFixedWidth(SendingPanelWidth);
    bar->addWidget(sbPanel0);
    bar->addWidget(sbPanel1);
}

void TForm1::showInStatusPanel(QLabel* panel, const QString& text)
{
    // The panel's name says what it is for; what it shows now goes with it as its description,
    // so that a screen reader says both.
    panel->setText(text);
    panel->setAccessibleDescription(text.trimmed());
}

void TForm1::FormCreate()
{
    sd.title = QStringLiteral("Save log");
    sd.defaultExt = QStringLiteral(".log");
    sd.filter = QStringLiteral("*.log|*.log|*.*|*.*");
    sd.overwritePrompt = true;
    sd.hideReadOnly = true;
    sd.pathMustExist = true;
    sd.resizable = true;
    sd.initialDir = dialogStartFolder();

    Link.LogLines = readProgramSettings(settingsFilePath()).logLines;
    m->clear();

    // The composer's start-up selections: the message E0 31 6B 01 is ready to send.
    opt1->setText(QStringLiteral("1"));
    opt2->clear();
    opt3->clear();
    FillCombos(2, 0, 10, 40, -1, -1, -1);

    ShowHEX1Click();
}

bool TForm1::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        runHandler([this] { FormActivate(); });
    return QMainWindow::event(event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    Link.AppTerminating = true;
    closeInstallerDialogs();
    event->accept();
}

bool TForm1::FormCloseQuery()
{
    return true;
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::About1Click()
{
    InfoBox(QStringLiteral("Vantorel\r\rSet-up and test tool for satellite receiving equipment."));
}
