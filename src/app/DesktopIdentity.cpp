#include "app/DesktopIdentity.h"

#include "generated/ProgramIdentity.h"

#include <QApplication>
#include <QIcon>

QString windowIconFile()
{
    return QStringLiteral(":/icons/48.png");
}

void applyDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTOREL_APP_ID));
    QApplication::setWindowIcon(QIcon(windowIconFile()));
}
