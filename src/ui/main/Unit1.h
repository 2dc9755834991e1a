// Unit1: the main window TForm1: composer panel, log pane, status bar and menu tree, with
// the handlers behind every menu item. The handlers are spread over the Unit1*.cpp files
// by subject: log, port, box commands, composer and table transfers.
#pragma once

#include "app/Prompts.h"
#include "link/BoxSession.h"
#include "link/LinkState.h"
#include "link/ReceiveBuffer.h"
#include "protocol/DiseqcMessages.h"
#include "ui/installer/BusSendingDialog.h"
#include "ui/tables/TableTransfer.h"

#include <QMainWindow>

#include <cstdint>
#include <string>

struct BoxCommand;
class LogView;
class PointDishDialog;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QWidget;
class SwitchesDialog;
class TForm2;
class TForm3;
class TableDialog;
struct BoxRequest;

class TForm1 final : public QMainWindow, public BoxSessionHost {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Adds one line at the top of the log (GUI thread only).
    void AddLog(const QString& text);

    // Sends one request to the box and waits for `expectedLength` reply bytes.
    void SendRequest(const std::string& request, std::uint8_t expectedLength);

    bool OpenPort();
    void ClosePort();

    void FillCombos(int levelIndex, int framingIndex, int familyIndex, int commandIndex,
                    int opt1Value, int opt2Value, int opt3Value);

    // The table dialogs `Form2` and `Form3`, created hidden with the main window.
    TForm2* positionerDialog() const { return Form2; }
    TForm3* remoteDialog() const { return Form3; }
    // The "Installer" menu's dialogs: made the first time their menu item is chosen (most
    // sessions never open them), none before.
    PointDishDialog* pointDishDialog() const { return m_pointDish; }
    SwitchesDialog* switchesDialog() const { return m_switches; }

    // The serial link and display options, the receive buffer its reader fills, and the box
    // session that opens the link and sends over it.
    LinkState& link() { return Link; }
    const ReceiveBuffer& receiveBuffer() const { return RxBuffer; }
    const BoxSession& session() const { return Session; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void createComposerPanel();
    void createLogPane();
    void createStatusBar();
    void createMenus();
    void createInstallerMenu();
    // What the installer's dialogs send through: the window's transaction.
    DiseqcSender installerSender();
    // They close with the window, keeping what they remember.
    void closeInstallerDialogs();
    QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                         void (TForm1::*handler)(), const QKeySequence& shortcut = {},
                         bool checkable = false);

    void FormCreate();
    void FormActivate();
    void FormDestroy();
    bool FormCloseQuery();

    // Program
    void About1Click();
    void Exit1Click();
    // Reader
    void Open1Click();
    void Close1Click();
    void Info1Click();
    void Test22kHz1Click();
    void dsqon1Click();
    void Analyse1Click();
    void reset2Click();
    void IRValueDetectEnable1Click();
    void IRValueDetectDisable1Click();
    void IRValueSet1Click();
    void IRValueGet1Click();
    void settings2Click();
    void StepUp1Click();
    void StepDown1Click();
    void Setposition1Click();
    void Settings1Click();
    void Reset1Click();
    void SwitchperipheralpowerON1Click();
    void DrivePolarMotorto01Click();
    void DriveStepMotorEastE03168FF1Click();
    void DriveStepMotorWestE03169FF1Click();
    void RecalculateSatellitePositionsE0316F001Click();
    void Sendselectedcommand1Click();
    // Log
    void Showtimestamp1Click();
    void Clearlog1Click();
    void Savelog1Click();
    void ShowCRLF1Click();
    void ShowHEX1Click();
    void ShowASCII1Click();
    void ShowBINARY1Click();
    // Installer
    void PointtheDish1Click();
    void SwitchesandSingleCable1Click();
    // Composer
    void compatChange();

    // The box session's host: the reader's lines come to the log on the GUI thread, errors
    // up in message boxes, and the waits keep the window's events running.
    void post(std::function<void()> job) override;
    void showSent(const std::string& packetDump) override;
    void showReceived(const std::string& text) override;
    void showError(const std::string& message) override;
    bool waitForReply(std::uint32_t count, std::chrono::milliseconds timeout) override;
    void pause(std::chrono::milliseconds duration) override;

    // `text` in a status bar panel, for the eye and the screen reader.
    void showInStatusPanel(QLabel* panel, const QString& text);
    void selectDisplay(QAction* item, DisplayMode mode, const QString& panelText);
    // The transaction of SendRequest for one request: the port opened when it is not marked
    // open, the request sent through the box session, its outcome shown.
    BoxSession::Sent sendBoxRequest(const BoxRequest& request);
    // A command's requests with `argument`, after its "Are you sure?" where it has one; false
    // when the user declined.
    bool sendBoxCommand(const BoxCommand& command, std::uint8_t argument = 0);
    void sendBoxCommandAsking(const BoxCommand& command, const QString& caption);
    // The installer's messages, each through the transaction, `gap` apart; the rest are left
    // when a write fails or `from` is closed. Refused, with a beep and a log line, while a
    // transaction is under way.
    void sendDiseqcMessages(const std::vector<DiseqcMessage>& messages, std::chrono::milliseconds gap,
                            const QWidget* from);
    // What a request sent (and the box confirmed or not) did to the dish's known angle, kept
    // for both programs and shown in Point the Dish.
    void followDish(const BoxRequest& request, bool replied);
    // The box as the table transfers see it: a request sent, the reply as counted.
    BoxExchange boxExchange();
    // The table read from the box into the dialog, edited, and written back once stored.
    void editTableInBox(TableDialog& dialog);

    QWidget* Panel1 = nullptr;
    QComboBox* framing = nullptr;
    QComboBox* family = nullptr;
    QComboBox* command = nullptr;
    QComboBox* compat = nullptr;
    QLineEdit* opt1 = nullptr;
    QLineEdit* opt2 = nullptr;
    QLineEdit* opt3 = nullptr;
    LogView* m = nullptr;
    QLabel* sbPanel0 = nullptr;
    QLabel* sbPanel1 = nullptr;
    FileDialogSettings sd;

    QAction* Test22kHz1 = nullptr;
    QAction* dsqon1 = nullptr;
    QAction* Analyse1 = nullptr;
    QAction* Showtimestamp1 = nullptr;
    QAction* ShowCRLF1 = nullptr;
    QAction* ShowHEX1 = nullptr;
    QAction* ShowASCII1 = nullptr;
    QAction* ShowBINARY1 = nullptr;

    // Declared before `Session`, whose reader fills it, so it outlives that reader.
    ReceiveBuffer RxBuffer;
    LinkState Link;
    BoxSession Session{Link.ComHandle, RxBuffer, {Link.DisplayMode, Link.ShowCRLF, Link.AppTerminating}, *this};
    TForm2* Form2 = nullptr; // owned as child windows
    TForm3* Form3 = nullptr;
    PointDishDialog* m_pointDish = nullptr;
    SwitchesDialog* m_switches = nullptr;
    bool m_destroyed = false;
    bool m_inTransaction = false; // a request waits for its reply, or messages for their turn
};
