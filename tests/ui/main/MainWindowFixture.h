// One test's main window, with the link state and tables it owns, program paths in a folder
// of their own with a settings file, scripted prompts, and (optionally) the simulated box on
// the serial port.
#pragma once

#include "ScriptedPrompts.h"
#include "TestBox.h"
#include "ui/main/Unit1.h"

#include <QAction>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

// "04 00 2C" filled up with zero bytes to a whole packet, as the box records it.
QString packet(const QString& bytes);

// The log line of a sent packet: "S: 0x04 0x00 0x2C ...".
QString sentLine(const QString& packetBytes);

// The "R:" lines of a log.
QStringList receivedLines(const QStringList& log);

class MainWindowFixture {
public:
    // `iniLines` go below "[init]"; a "port=" line naming the box is added when `withBox`.
    explicit MainWindowFixture(bool withBox = true, const QString& iniLines = {});
    ~MainWindowFixture();

    // Shows the window; its first activation opens the port.
    void activate();

    template <typename T>
    T* find(const char* name) const
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no component named %s", name);
        return found;
    }
    QAction* action(const char* name) const { return find<QAction>(name); }
    void trigger(const char* name) { action(name)->trigger(); }

    LinkState& link() const { return window->link(); }
    const BoxSession& session() const { return window->session(); }
    const ReceiveBuffer& rxBuffer() const { return window->receiveBuffer(); }

    // The log, line 0 the newest.
    QStringList log() const;
    QString statusPanel(int index) const;

    // The packets the box received since the last call, as "03 03 E0 ..." (11 bytes each).
    QStringList takeRequests();

    static QString hex(const std::vector<std::uint8_t>& bytes);

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<TestBox> box; // none unless `withBox`
    std::unique_ptr<TForm1> window;
};
