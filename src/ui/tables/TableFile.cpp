#include "TableFile.h"

#include "TableFileIo.h"
#include "Unitx.h"

#include <QFile>

namespace {

std::optional<QString> errorText(const std::optional<FileFailure>& failure)
{
    if (!failure)
        return std::nullopt;
    return fromSystem(tableFileErrorText(*failure));
}

std::string systemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

// Saving over a link replaces the file it points to, as writing into it would.
std::optional<QString> saveTableFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    return errorText(saveTableRecord(absoluteTablePath(systemPath(path), true), data, size));
}

std::optional<QString> loadTableFile(const QString& path, std::uint8_t* data, std::size_t size)
{
    return errorText(loadTableRecord(absoluteTablePath(systemPath(path), false), data, size));
}
