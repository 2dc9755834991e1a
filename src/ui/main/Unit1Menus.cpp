// The menu tree of the main window: every item with its caption, shortcut and handler.
#include "ui/main/Unit1.h"

#include "app/Unitx.h"

#include <QMenuBar>

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

void addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

} // namespace

QAction* TForm1::addMenuItem(QMenu* menu, const char* name, const QString& caption,
                             void (TForm1::*handler)(), const QKeySequence& shortcut, bool checkable)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    // A checkable item inverts its own check mark before the handler runs.
    item->setCheckable(checkable);
    connect(item, &QAction::triggered, this, [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
    addAction(item);
    return item;
}

void TForm1::createMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* program = addMenu(bar, "Program1", QStringLiteral("Program"));
    addMenuItem(program, "About1", QStringLiteral("About"), &TForm1::About1Click);
    addMenuItem(program, "Exit1", QStringLiteral("Exit"), &TForm1::Exit1Click);

    QMenu* reader = addMenu(bar, "Reader1", QStringLiteral("Reader"));
    addMenuItem(reader, "Open1", QStringLiteral("Open COM port"), &TForm1::Open1Click);
    addMenuItem(reader, "Close1", QStringLiteral("Close COM port"), &TForm1::Close1Click);
    addSeparator(reader, "N2");

    QMenu* hardware = addSubmenu(reader, "Hardware1", QStringLiteral("Hardware"));
    addMenuItem(hardware, "Info1", QStringLiteral("HW Info"), &TForm1::Info1Click, QKeySequence(QStringLiteral("Ctrl+I")));
    Test22kHz1 = addMenuItem(hardware, "Test22kHz1", QStringLiteral("Test 22kHz"), &TForm1::Test22kHz1Click, {}, true);
    dsqon1 = addMenuItem(hardware, "dsqon1", QStringLiteral("DSQ Power On"), &TForm1::dsqon1Click,
                         QKeySequence(QStringLiteral("Ctrl+P")), true);
    Analyse1 = addMenuItem(hardware, "Analyse1", QStringLiteral("Analyse"), &TForm1::Analyse1Click,
                           QKeySequence(QStringLiteral("Ctrl+A")), true);
    addSeparator(hardware, "N7");
    addMenuItem(hardware, "reset2", QStringLiteral("SW Reset"), &TForm1::reset2Click);

    QMenu* remote = addSubmenu(reader, "RemoteControl1", QStringLiteral("Remote Control"));
    addMenuItem(remote, "IRValueDetectEnable1", QStringLiteral("IR Value Detect Enable"), &TForm1::IRValueDetectEnable1Click);
    addMenuItem(remote, "IRValueDetectDisable1", QStringLiteral("IR Value Detect Disable"), &TForm1::IRValueDetectDisable1Click);
    addMenuItem(remote, "IRValueSet1", QStringLiteral("IR Value Set"), &TForm1::IRValueSet1Click);
    addMenuItem(remote, "IRValueGet1", QStringLiteral("IR Value Get"), &TForm1::IRValueGet1Click);
    addSeparator(remote, "N5");
    addMenuItem(remote, "settings2", QStringLiteral("Setting"), &TForm1::settings2Click);

    QMenu* positioner = addSubmenu(reader, "Positioner1", QStringLiteral("Positioner"));
    addMenuItem(positioner, "StepUp1", QStringLiteral("Step Up"), &TForm1::StepUp1Click);
    addMenuItem(positioner, "StepDown1", QStringLiteral("Step Down"), &TForm1::StepDown1Click);
    addMenuItem(positioner, "Setposition1", QStringLiteral("Set Position"), &TForm1::Setposition1Click,
                QKeySequence(QStringLiteral("Ctrl+S")));
    addSeparator(positioner, "N4");
    addMenuItem(positioner, "Settings1", QStringLiteral("Setting"), &TForm1::Settings1Click);

    QMenu* send = addSubmenu(reader, "Send1", QStringLiteral("DiSEqC Send"));
    addMenuItem(send, "Reset1", QStringLiteral("Reset To All (E0-00-00)"), &TForm1::Reset1Click,
                QKeySequence(QStringLiteral("Ctrl+Alt+R")));
    addMenuItem(send, "SwitchperipheralpowerON1", QStringLiteral("Switch peripheral power supply ON (E0-00-03)"),
                &TForm1::SwitchperipheralpowerON1Click);
    addMenuItem(send, "DrivePolarMotorto01", QString::fromLatin1("Drive Positioner Motor to 0\xB0 (E0-31-6E-0)"),
                &TForm1::DrivePolarMotorto01Click, QKeySequence(QStringLiteral("Ctrl+Alt+O")));
    addMenuItem(send, "DriveStepMotorEastE03168FF1", QStringLiteral("Drive Step Motor East (E0-31-68-FF)"),
                &TForm1::DriveStepMotorEastE03168FF1Click, QKeySequence(QStringLiteral("Ctrl+Alt+E")));
    addMenuItem(send, "DriveStepMotorWestE03169FF1", QStringLiteral("Drive Step Motor West (E0-31-69-FF)"),
                &TForm1::DriveStepMotorWestE03169FF1Click, QKeySequence(QStringLiteral("Ctrl+Alt+W")));
    addMenuItem(send, "RecalculateSatellitePositionsE0316F001",
                QStringLiteral("Recalculate Satellite Positions (E0-31-6F-00)"),
                &TForm1::RecalculateSatellitePositionsE0316F001Click);
    addSeparator(send, "N3");
    addMenuItem(send, "Sendselectedcommand1", QStringLiteral("Send selected command"),
                &TForm1::Sendselectedcommand1Click, QKeySequence(QStringLiteral("Ctrl+Alt+C")));

    QMenu* log = addMenu(bar, "Log1", QStringLiteral("Log"));
    Showtimestamp1 = addMenuItem(log, "Showtimestamp1", QStringLiteral("Show timestamp"), &TForm1::Showtimestamp1Click,
                                 QKeySequence(Qt::Key_F5), true);
    addMenuItem(log, "Clearlog1", QStringLiteral("Clear log"), &TForm1::Clearlog1Click, QKeySequence(QStringLiteral("Ctrl+L")));
    addMenuItem(log, "Savelog1", QStringLiteral("Save log"), &TForm1::Savelog1Click);
    addSeparator(log, "N6");
    ShowCRLF1 = addMenuItem(log, "ShowCRLF1", QStringLiteral("Show <CR><LF>"), &TForm1::ShowCRLF1Click, {}, true);
    ShowCRLF1->setChecked(true);
    ShowHEX1 = addMenuItem(log, "ShowHEX1", QStringLiteral("Show HEX"), &TForm1::ShowHEX1Click, QKeySequence(Qt::Key_F1), true);
    ShowASCII1 = addMenuItem(log, "ShowASCII1", QStringLiteral("Show ASCII"), &TForm1::ShowASCII1Click,
                             QKeySequence(Qt::Key_F2), true);
    ShowBINARY1 = addMenuItem(log, "ShowBINARY1", QStringLiteral("Show BINARY"), &TForm1::ShowBINARY1Click,
                              QKeySequence(Qt::Key_F3), true);

    createInstallerMenu();
}

void TForm1::createInstallerMenu()
{
    QMenu* installer = addMenu(menuBar(), "Installer1", QStringLiteral("Installer"));
    addMenuItem(installer, "PointtheDish1", QStringLiteral("Point the Dish..."), &TForm1::PointtheDish1Click,
                QKeySequence(QStringLiteral("Ctrl+D")));
    addMenuItem(installer, "SwitchesandSingleCable1", QStringLiteral("Switches and Single Cable..."),
                &TForm1::SwitchesandSingleCable1Click, QKeySequence(QStringLiteral("Ctrl+U")));
}
