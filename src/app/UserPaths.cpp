#include "app/UserPaths.h"

#include "app/AppPaths.h"
#include "app/SystemString.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The setup program leaves its uninstaller in the folder it installed into, and nothing else
// puts one beside the program (the portable zip has none). Unlike the installed programs'
// registry entries, it needs no knowledge of which user or registry view installed the copy,
// and it holds in whatever folder the user chose.
bool installedBySetupProgram(const QString& programFolder)
{
    return QFileInfo::exists(programFolder + QStringLiteral("Uninstall.exe"));
}

} // namespace

QString dialogStartFolder()
{
    const QString programFolder = fromSystemPath(AppDir());
    if (QFileInfo(programFolder).isWritable() && !installedBySetupProgram(programFolder))
        return programFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents + QLatin1Char('/') : QDir::homePath() + QLatin1Char('/');
}
