// Table files: one fixed-size record, no header. Failures come back as the text the user
// sees: the file layer's message, two blanks, then the system's message.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

// Creates or replaces the file with exactly `size` bytes. The new contents are written to a
// temporary file beside it and moved into place, so a failed save leaves an existing file
// as it was; where the folder takes no new file, or on Windows where another program holds
// the file open, the file is written in place. A link is saved through: the file it points
// to is replaced. Returns the error text, or nothing.
std::optional<QString> saveTableFile(const QString& path, const std::uint8_t* data, std::size_t size);

// Reads the first `size` bytes of the file into `data`; a shorter file is an error. The file
// is opened for reading and writing, so a read-only file is refused. `data` is left as it
// was on failure. Returns the error text, or nothing on success.
std::optional<QString> loadTableFile(const QString& path, std::uint8_t* data, std::size_t size);
