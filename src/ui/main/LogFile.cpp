#include "ui/main/LogFile.h"

#include <QSaveFile>

std::optional<QString> saveLogFile(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString());
    for (const QString& line : lines) {
        file.write(line.toLatin1());
        file.write("\r\n");
    }
    if (!file.commit())
        return QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString());
    return std::nullopt;
}
