#include "TableFile.h"

#include "SystemMessage.h"
#include "TableFileIo.h"
#include "Unitx.h"

#include <QFile>
#include <QFileInfo>

namespace {

QString fileLayerMessage(const FileFailure& failure)
{
    switch (failure.error) {
    case FileError::FileNotFound: return QStringLiteral("File not found");
    case FileError::InvalidFilename: return QStringLiteral("Invalid filename");
    case FileError::TooManyOpenFiles: return QStringLiteral("Too many open files");
    case FileError::AccessDenied: return QStringLiteral("File access denied");
    case FileError::DiskFull: return QStringLiteral("Disk full");
    case FileError::ReadBeyondEnd: return QStringLiteral("Read beyond end of file");
    case FileError::Other: break;
    }
    return QStringLiteral("I/O error %1").arg(failure.code);
}

std::optional<QString> errorText(const std::optional<FileFailure>& failure)
{
    if (!failure)
        return std::nullopt;
    return fileLayerMessage(*failure) + QStringLiteral("  ") + fromSystem(systemMessage(failure->code));
}

// Saving over a link replaces the file it points to, as writing into it would.
QString resolvedTarget(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

} // namespace

std::optional<QString> saveTableFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    return errorText(saveTableRecord(QFile::encodeName(resolvedTarget(path)).toStdString(), data, size));
}

std::optional<QString> loadTableFile(const QString& path, std::uint8_t* data, std::size_t size)
{
    return errorText(loadTableRecord(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString(), data, size));
}
