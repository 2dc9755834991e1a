#include "app/UserPaths.h"

#include "app/AppPaths.h"
#include "app/SystemString.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString dialogStartFolder()
{
    const QString programFolder = fromSystemPath(AppDir());
    if (QFileInfo(programFolder).isWritable())
        return programFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents + QLatin1Char('/') : QDir::homePath() + QLatin1Char('/');
}
