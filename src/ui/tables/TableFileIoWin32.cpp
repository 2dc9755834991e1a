// Table files on Windows: CreateFile/WriteFile/FlushFileBuffers, and ReplaceFile, which
// puts the new contents in place in one step and keeps the old file's attributes and
// security. Other programs may share a table file for reading and writing. Paths come in
// UTF-8 and go to the system in UTF-16, so that any name works whatever the code page.
#include "ui/tables/TableFileIo.h"

#include "app/WideText.h"

#include <algorithm>
#include <vector>

#include <windows.h>

namespace {

constexpr DWORD ShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The file layer's error for a system error code: only these four codes have a text of
// their own; every other one, a sharing violation or a full disk included, is an I/O error
// that shows its number.
FileFailure failureOf(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return {FileError::FileNotFound, static_cast<int>(code)};
    case ERROR_PATH_NOT_FOUND:
        return {FileError::InvalidFilename, static_cast<int>(code)};
    case ERROR_TOO_MANY_OPEN_FILES:
        return {FileError::TooManyOpenFiles, static_cast<int>(code)};
    case ERROR_ACCESS_DENIED:
        return {FileError::AccessDenied, static_cast<int>(code)};
    default:
        return {FileError::Other, static_cast<int>(code)};
    }
}

FileFailure lastFailure()
{
    return failureOf(GetLastError());
}

// Refuses what could not be written in place either: a read-only file, a folder, a device.
std::optional<FileFailure> checkWritableInPlace(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? std::nullopt : std::optional<FileFailure>(failureOf(error));
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE))
        return FileFailure{FileError::AccessDenied, ERROR_ACCESS_DENIED};
    return std::nullopt;
}

HANDLE createTemporary(const std::wstring& path, std::wstring& tempPath)
{
    static unsigned serial = 0;
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + L"\\." + name.substr(0, 32) + L"." + std::to_wstring(GetCurrentProcessId()) + L"."
                 + std::to_wstring(++serial) + L".tmp";
        const HANDLE file = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes the record, makes it durable and closes the file. A short write sets no error
// code: it reports code 0.
std::optional<FileFailure> writeRecord(HANDLE file, const std::uint8_t* data, std::size_t size)
{
    DWORD written = 0;
    SetLastError(0);
    std::optional<FileFailure> failure;
    if (!WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr))
        failure = lastFailure();
    else if (written < size)
        failure = FileFailure{FileError::DiskFull, 0};
    else if (!FlushFileBuffers(file))
        failure = lastFailure();
    if (failure) {
        CloseHandle(file);
        return failure;
    }
    if (!CloseHandle(file))
        return lastFailure();
    return std::nullopt;
}

// Empties the file and writes the record into it. Opening it as it is, rather than creating
// it anew, keeps its attributes and lets a hidden file be written; another program may
// hold it open meanwhile.
std::optional<FileFailure> writeInPlace(const std::wstring& path, const std::uint8_t* data, std::size_t size)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, ShareReadWrite, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lastFailure();
    if (!SetEndOfFile(file)) {
        const FileFailure failure = lastFailure();
        CloseHandle(file);
        return failure;
    }
    return writeRecord(file, data, size);
}

// Whether another program holds `path` open without sharing its deletion, which replacing
// the file needs. Such a file is written in place without trying a replace: Wine's
// ReplaceFile leaves a file of its own in the folder when it fails.
bool heldOpenElsewhere(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), DELETE, ShareReadWrite | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

// Puts the written temporary file in the place of `path`. ReplaceFile keeps an existing
// file's attributes and security, where a move would give it the temporary file's; it
// fails where another program holds the file open, and when there is no file to replace.
bool putInPlace(const std::wstring& tempPath, const std::wstring& path)
{
    if (ReplaceFileW(path.c_str(), tempPath.c_str(), nullptr, 0, nullptr, nullptr))
        return true;
    return GetLastError() == ERROR_FILE_NOT_FOUND
        && MoveFileExW(tempPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
}

} // namespace

std::optional<FileFailure> saveTableRecord(const std::string& utf8Path, const std::uint8_t* data, std::size_t size)
{
    const std::wstring path = toWide(utf8Path);
    if (auto refused = checkWritableInPlace(path))
        return refused;
    if (heldOpenElsewhere(path))
        return writeInPlace(path, data, size);
    std::wstring tempPath;
    const HANDLE temp = createTemporary(path, tempPath);
    // A folder that takes no new file may still hold a file that can be written.
    if (temp == INVALID_HANDLE_VALUE)
        return writeInPlace(path, data, size);
    if (auto failure = writeRecord(temp, data, size)) {
        DeleteFileW(tempPath.c_str());
        return failure;
    }
    if (putInPlace(tempPath, path))
        return std::nullopt;
    // A file that could not be replaced after all (another program opened it meanwhile, say)
    // can still be written.
    DeleteFileW(tempPath.c_str());
    return writeInPlace(path, data, size);
}

std::optional<FileFailure> loadTableRecord(const std::string& path, std::uint8_t* data, std::size_t size)
{
    const HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, ShareReadWrite, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lastFailure();
    std::vector<std::uint8_t> record(size);
    DWORD got = 0;
    SetLastError(0);
    if (!ReadFile(file, record.data(), static_cast<DWORD>(size), &got, nullptr)) {
        const FileFailure failure = lastFailure();
        CloseHandle(file);
        return failure;
    }
    if (got < size) {
        CloseHandle(file);
        return FileFailure{FileError::ReadBeyondEnd, 0};
    }
    if (!CloseHandle(file))
        return lastFailure();
    std::copy(record.begin(), record.end(), data);
    return std::nullopt;
}

std::optional<FileFailure> readTableFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& contents)
{
    const HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_READ, ShareReadWrite, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lastFailure();
    std::vector<std::uint8_t> read(limit);
    std::size_t got = 0;
    while (got < limit) {
        DWORD chunk = 0;
        if (!ReadFile(file, read.data() + got, static_cast<DWORD>(limit - got), &chunk, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE) // a pipe's writer has closed it: its end
                break;
            CloseHandle(file);
            return failureOf(error);
        }
        if (chunk == 0)
            break;
        got += chunk;
    }
    CloseHandle(file);
    read.resize(got);
    contents = std::move(read);
    return std::nullopt;
}

std::optional<FileFailure> writeTableFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    const HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_WRITE, ShareReadWrite, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || GetFileType(file) == FILE_TYPE_DISK) {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        return saveTableRecord(path, data, size);
    }
    DWORD written = 0;
    SetLastError(0);
    const bool wrote = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!wrote)
        return failureOf(error);
    return std::nullopt;
}

// A Windows table file is not reached through links: the full path is all there is to find.
std::string absoluteTablePath(const std::string& path, bool)
{
    const std::wstring wide = toWide(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length)
        return path;
    full.resize(written);
    return fromWide(full);
}
