// "positions" and "remote": a table read from the box into a file, or a file written to the
// box as the dialog's "Store Data" writes it. The files are the dialogs' own: one record of
// the table's size, saved so that a failed save leaves an existing file as it was.
#include "CliCommands.h"

#include "CliOptions.h"
#include "ConsoleOutput.h"
#include "Interrupt.h"
#include "TableFileIo.h"
#include "TableTransfer.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const std::string StandardStream = "-";

// Standard input and output carry a table's bytes as they are.
void useBinaryMode(std::FILE* stream)
{
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

std::optional<FileFailure> readStandardInput(std::uint8_t* table, std::size_t size)
{
    useBinaryMode(stdin);
    errno = 0;
    const std::size_t got = std::fread(table, 1, size, stdin);
    if (got < size && interrupted())
        throw Interrupted();
    if (got < size)
        return FileFailure{std::ferror(stdin) ? FileError::Other : FileError::ReadBeyondEnd, errno};
    return std::nullopt;
}

std::optional<FileFailure> writeStandardOutput(const std::uint8_t* table, std::size_t size)
{
    useBinaryMode(stdout);
    errno = 0;
    if (std::fwrite(table, 1, size, stdout) != size || std::fflush(stdout) != 0)
        return FileFailure{errno == ENOSPC ? FileError::DiskFull : FileError::Other, errno};
    return std::nullopt;
}

ExitStatus fileOutcome(const std::optional<FileFailure>& failure, ConsoleOutput& output)
{
    if (!failure)
        return Done;
    output.error(tableFileErrorText(*failure));
    return TableFileFailed;
}

// The box as the table transfers see it; the worst outcome of its requests is kept.
BoxExchange exchangeOver(ConsoleSession& session, ExitStatus& status)
{
    return [&session, &status](const BoxRequest& request) {
        noteOutcome(session.send(request), status);
        return session.buffer().contents();
    };
}

PlannedCommand planGet(const TableKind& kind, const std::string& file)
{
    PlannedCommand command;
    command.tableOnStandardOutput = file == StandardStream;
    command.run = [&kind, file](ConsoleSession& session, ConsoleOutput& output) {
        std::vector<std::uint8_t> table(static_cast<std::size_t>(kind.size));
        ExitStatus status = Done;
        if (!downloadTable(exchangeOver(session, status), kind, table.data())) {
            output.error("Error on receive!");
            return status == Done ? ReplyMissing : status;
        }
        if (file == StandardStream)
            return fileOutcome(writeStandardOutput(table.data(), table.size()), output);
        return fileOutcome(saveTableRecord(absoluteTablePath(file, true), table.data(), table.size()), output);
    };
    return command;
}

PlannedCommand planPut(const TableKind& kind, const std::string& file)
{
    auto table = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(kind.size));
    PlannedCommand command;
    command.prepare = [table, file](ConsoleOutput& output) {
        if (file == StandardStream)
            return fileOutcome(readStandardInput(table->data(), table->size()), output);
        return fileOutcome(loadTableRecord(absoluteTablePath(file, false), table->data(), table->size()), output);
    };
    command.run = [&kind, table](ConsoleSession& session, ConsoleOutput&) {
        ExitStatus status = Done;
        uploadTable(exchangeOver(session, status), kind, table->data());
        return status;
    };
    return command;
}

} // namespace

PlannedCommand planTableCommand(const std::string& table, const std::vector<std::string>& words)
{
    if (words.size() != 2 || (words[0] != "get" && words[0] != "put"))
        throw UsageError(table + " takes get FILE or put FILE");
    const TableKind& kind = table == "positions" ? PositionerTableKind : RemoteTableKind;
    return words[0] == "get" ? planGet(kind, words[1]) : planPut(kind, words[1]);
}
