// The saved log: plain text, the lines in their displayed order (newest first), each ended
// by CR LF, one byte per character.
#pragma once

#include <QStringList>

#include <optional>

// Creates or replaces the file. The text goes to a temporary file beside it that is then
// renamed into place, so a failed save never leaves a truncated file where a good one was;
// a folder that takes no new file gets the file written in place. A link is saved through:
// the file it points to is replaced. Returns the error message, or nothing on success.
std::optional<QString> saveLogFile(const QString& path, const QStringList& lines);
