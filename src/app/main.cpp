// Program entry: answers the command line, fixes the program paths, installs the real
// prompts, creates the main window (which creates the two table dialogs, hidden) and runs
// the event loop.
#include "AppPaths.h"
#include "ProgramCommandLine.h"
#include "ProgramIdentity.h"
#include "QtPrompts.h"
#include "Unit1.h"

#include <QApplication>
#include <QIcon>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QIcon programIcon()
{
    QIcon icon(QStringLiteral(":/icons/256.png"));
    icon.addFile(QStringLiteral(":/icons/48.png"));
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    // The name also names the user's settings folder (~/.config/vantorel/).
    QCoreApplication::setApplicationName(QStringLiteral("vantorel"));
    // Before the application object, so that --help and --version need no display.
    if (const std::optional<int> exitCode = answerCommandLine(argumentsOf(argc, argv)))
        return *exitCode;

    AppName(); // the program paths are fixed before any window exists
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTOREL_APP_ID));
    QApplication::setWindowIcon(programIcon());
    QtPrompts realPrompts;
    installPrompts(&realPrompts);

    TForm1 mainWindow;
    mainWindow.show();
    const int result = application.exec();
    installPrompts(nullptr);
    return result;
}
