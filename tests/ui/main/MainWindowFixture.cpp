#include "MainWindowFixture.h"

#include "app/AppPaths.h"
#include "ui/main/LogView.h"

#include <QFile>
#include <QLabel>
#include <QTest>

QString packet(const QString& bytes)
{
    QStringList parts = bytes.split(' ', Qt::SkipEmptyParts);
    while (parts.size() < 11)
        parts << QStringLiteral("00");
    return parts.join(' ');
}

QString sentLine(const QString& packetBytes)
{
    return QStringLiteral("S: 0x") + packetBytes.split(' ').join(QStringLiteral(" 0x"));
}

QStringList receivedLines(const QStringList& log)
{
    QStringList lines;
    for (const QString& line : log) {
        if (line.startsWith(QStringLiteral("R:")))
            lines << line;
    }
    return lines;
}

MainWindowFixture::MainWindowFixture(bool withBox, const QString& iniLines)
{
    overrideAppPaths(dir.path().toStdString(), "vantorel");
    QString ini = QStringLiteral("[init]\n") + iniLines + '\n';
    if (withBox) {
        std::string error;
        box = openTestBox(error);
        if (!box)
            qFatal("simulated box: %s", error.c_str());
        ini += QStringLiteral("port=%1\n").arg(QString::fromStdString(box->portName()));
    }
    QFile file(dir.filePath(QStringLiteral("vantorel.ini")));
    if (!file.open(QIODevice::WriteOnly) || file.write(ini.toLatin1()) < 0)
        qFatal("cannot write the settings file");
    file.close();
    window = std::make_unique<TForm1>();
}

MainWindowFixture::~MainWindowFixture()
{
    window.reset();
    box.reset();
}

void MainWindowFixture::activate()
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qFatal("the main window was never activated");
}

QStringList MainWindowFixture::log() const
{
    return find<LogView>("m")->lines();
}

QString MainWindowFixture::statusPanel(int index) const
{
    return find<QLabel>(index == 0 ? "sb1Panel0" : "sb1Panel1")->text();
}

QString MainWindowFixture::hex(const std::vector<std::uint8_t>& bytes)
{
    QStringList parts;
    for (std::uint8_t byte : bytes)
        parts << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(' ');
}

QStringList MainWindowFixture::takeRequests()
{
    QStringList packets;
    for (const auto& packet : box->requests())
        packets << hex(packet);
    box->clearRequests();
    return packets;
}
