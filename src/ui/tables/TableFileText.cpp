#include "ui/tables/TableFileIo.h"

#include "app/SystemMessage.h"

namespace {

std::string fileLayerMessage(const FileFailure& failure)
{
    switch (failure.error) {
    case FileError::FileNotFound: return "File not found";
    case FileError::InvalidFilename: return "Invalid filename";
    case FileError::TooManyOpenFiles: return "Too many open files";
    case FileError::AccessDenied: return "File access denied";
    case FileError::DiskFull: return "Disk full";
    case FileError::ReadBeyondEnd: return "Read beyond end of file";
    case FileError::Other: break;
    }
    return "I/O error " + std::to_string(failure.code);
}

} // namespace

std::string tableFileErrorText(const FileFailure& failure)
{
    return fileLayerMessage(failure) + "  " + systemMessage(failure.code);
}
