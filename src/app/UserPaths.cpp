#include "UserPaths.h"

#include "AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

std::string settingsFilePath()
{
    const std::string besideProgram = programSettingsPath();
    if (QFileInfo(QFile::decodeName(besideProgram.c_str())).isFile())
        return besideProgram;
    // The folder is named after the application name that the program's entry sets.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QFile::encodeName(userFolder + QStringLiteral("/vantorel.ini")).toStdString();
}

QString dialogStartFolder()
{
    const QString programFolder = QFile::decodeName(AppDir().c_str());
    if (QFileInfo(programFolder).isWritable())
        return programFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents + QLatin1Char('/') : QDir::homePath() + QLatin1Char('/');
}
