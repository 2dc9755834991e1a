#include "ui/tables/TableFile.h"

#include "app/SystemString.h"
#include "app/Unitx.h"
#include "ui/tables/TableFileIo.h"


namespace {

std::optional<QString> errorText(const std::optional<FileFailure>& failure)
{
    if (!failure)
        return std::nullopt;
    return fromSystem(tableFileErrorText(*failure));
}

} // namespace

// Saving over a link replaces the file it points to, as writing into it would.
std::optional<QString> saveTableFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    return errorText(saveTableRecord(absoluteTablePath(toSystemPath(path), true), data, size));
}

std::optional<QString> loadTableFile(const QString& path, std::uint8_t* data, std::size_t size)
{
    return errorText(loadTableRecord(absoluteTablePath(toSystemPath(path), false), data, size));
}
