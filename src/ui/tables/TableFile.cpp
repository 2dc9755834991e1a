#include "TableFile.h"

#include "TableFileIo.h"
#include "Unitx.h"

#include <QFile>
#include <QFileInfo>

namespace {

std::optional<QString> errorText(const std::optional<FileFailure>& failure)
{
    if (!failure)
        return std::nullopt;
    return fromSystem(tableFileErrorText(*failure));
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
