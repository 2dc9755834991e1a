// Program entry: answers the command line, fixes the program paths, installs the real
// prompts, creates the main window (which creates the two table dialogs, hidden) and runs
// the event loop. What the windows' first text and images need is loaded ahead on a second
// thread (StartUpWarmUp).
#include "app/AppPaths.h"
#include "app/DesktopIdentity.h"
#include "app/ProgramArguments.h"
#include "app/ProgramCommandLine.h"
#include "app/QtPrompts.h"
#include "app/StartUpWarmUp.h"
#include "app/SystemString.h"
#include "ui/main/Unit1.h"

#include <QApplication>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (const std::string& argument : programArguments(argc, argv))
        arguments << fromSystem(argument);
    return arguments;
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
    StartUpWarmUp warmUp;
    QApplication application(argc, argv);
    warmUp.loadImageReaders(windowIconFile());
    QtPrompts realPrompts;
    installPrompts(&realPrompts);

    TForm1 mainWindow;
    applyDesktopIdentity();
    warmUp.finish();
    mainWindow.show();
    const int result = application.exec();
    installPrompts(nullptr);
    return result;
}
