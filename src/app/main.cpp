// Program entry: fixes the program paths, installs the real prompts, creates the main window
// (which creates the two table dialogs, hidden) and runs the event loop.
#include "AppPaths.h"
#include "QtPrompts.h"
#include "Unit1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    AppName(); // the program paths are fixed before any window exists
    QApplication application(argc, argv);
    QtPrompts realPrompts;
    installPrompts(&realPrompts);

    TForm1 mainWindow;
    mainWindow.show();
    const int result = application.exec();
    installPrompts(nullptr);
    return result;
}
