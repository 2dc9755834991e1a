// Table files at the system's level, without Qt: one fixed-size record, written so that a
// failed save leaves an existing file as it was, and read in one call. A failure says what
// went wrong in the file layer's terms and carries the system's error code for its message.
// Paths are the program's own strings: UTF-8 on Windows, the system's bytes elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class FileError { FileNotFound, InvalidFilename, TooManyOpenFiles, AccessDenied, DiskFull, ReadBeyondEnd, Other };

struct FileFailure {
    FileError error;
    int code; // the system's error code; 0 for a short read or write, which set none
};

// Creates or replaces `path` (absolute, links already resolved) with exactly `size` bytes:
// through a temporary file beside it that is moved into place, or in place where the
// folder takes no new file or, on Windows, where another program holds the file open. An
// existing file keeps its permissions.
std::optional<FileFailure> saveTableRecord(const std::string& path, const std::uint8_t* data, std::size_t size);

// What the user is shown for a failure: the file layer's message, two blanks, then the
// system's message, in the program's own strings as the paths are.
std::string tableFileErrorText(const FileFailure& failure);

// `path` made absolute against the working folder; with `followLinks` and an existing file,
// also with every link resolved (a save replaces the file a link points to).
std::string absoluteTablePath(const std::string& path, bool followLinks);

// The command line's reading of a table file: `path` read to its end, or until `limit` bytes,
// opened for reading only and read in as many calls as a pipe or device takes (waiting for a
// pipe's writer). A read that a signal interrupted fails with the signal's error code.
std::optional<FileFailure> readTableFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& contents);

// The command line's writing of a table file: a pipe, terminal or other device that `path`
// names is written as a stream; anything else is saved as saveTableRecord saves it.
std::optional<FileFailure> writeTableFile(const std::string& path, const std::uint8_t* data, std::size_t size);

// Reads the first `size` bytes of `path` (absolute), opened for reading and writing so that
// a read-only file is refused, and shared with other programs for both; a shorter file
// fails. `data` is left alone on failure.
std::optional<FileFailure> loadTableRecord(const std::string& path, std::uint8_t* data, std::size_t size);
