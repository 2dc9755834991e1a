// The file side of a table dialog: its "Save" and "Open" dialogs, and saving or loading the
// table through them with a failure shown in one error box.
#pragma once

#include "app/Prompts.h"

#include <cstddef>
#include <cstdint>

// The dialog settings for table files with `extension` (".pos"); the initial folder is left
// for the dialog's FormCreate to set.
FileDialogSettings tableSaveDialog(const QString& extension);
FileDialogSettings tableOpenDialog(const QString& extension);

// Asks for a file with `dialog` and saves the table to it. Cancelling does nothing.
void saveTableAs(const FileDialogSettings& dialog, const std::uint8_t* table, std::size_t size);

// Asks for a file with `dialog` and loads the table from it. True only when the table was
// replaced; after a failure or a cancel it is unchanged.
bool loadTableFrom(const FileDialogSettings& dialog, std::uint8_t* table, std::size_t size);
