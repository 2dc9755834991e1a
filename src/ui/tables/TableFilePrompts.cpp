#include "ui/tables/TableFilePrompts.h"

#include "app/Unitx.h"
#include "ui/tables/TableFile.h"

#include <QFile>

namespace {

FileDialogSettings tableFileDialog(const QString& title, const QString& extension)
{
    FileDialogSettings dialog;
    dialog.title = title;
    const QString pattern = QLatin1Char('*') + extension;
    dialog.filter = pattern + QLatin1Char('|') + pattern + QStringLiteral("|*.*|*.*");
    dialog.defaultExt = extension;
    dialog.hideReadOnly = true;
    dialog.pathMustExist = true;
    dialog.resizable = true;
    return dialog;
}

} // namespace

FileDialogSettings tableSaveDialog(const QString& extension)
{
    FileDialogSettings dialog = tableFileDialog(QStringLiteral("Save"), extension);
    dialog.overwritePrompt = true;
    return dialog;
}

FileDialogSettings tableOpenDialog(const QString& extension)
{
    FileDialogSettings dialog = tableFileDialog(QStringLiteral("Open"), extension);
    dialog.fileMustExist = true;
    return dialog;
}

void saveTableAs(const FileDialogSettings& dialog, const std::uint8_t* table, std::size_t size)
{
    const std::optional<QString> path = prompts().saveFileName(dialog);
    if (!path)
        return;
    if (const std::optional<QString> error = saveTableFile(*path, table, size))
        ErrorBox(*error);
}

bool loadTableFrom(const FileDialogSettings& dialog, std::uint8_t* table, std::size_t size)
{
    const std::optional<QString> path = prompts().openFileName(dialog);
    if (!path)
        return false;
    if (const std::optional<QString> error = loadTableFile(*path, table, size)) {
        ErrorBox(*error);
        return false;
    }
    return true;
}
