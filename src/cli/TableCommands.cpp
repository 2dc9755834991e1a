// "positions" and "remote": a table read from the box into a file, or a file written to the
// box as the dialog's "Store Data" writes it. The files are the dialogs' own: one record of
// the table's size, saved so that a failed save leaves an existing file as it was; a pipe or
// device named as the file is read or written as a stream.
#include "cli/CliCommands.h"

#include "cli/CliOptions.h"
#include "cli/ConsoleOutput.h"
#include "cli/Interrupt.h"
#include "ui/tables/TableFileIo.h"
#include "ui/tables/TableTransfer.h"

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

// A put reads at most this much, to tell the size of a file that is not a table file.
constexpr std::size_t ReadLimit = 65536;

std::optional<FileFailure> readStandardInput(std::vector<std::uint8_t>& contents)
{
    useBinaryMode(stdin);
    contents.resize(ReadLimit);
    errno = 0;
    const std::size_t got = std::fread(contents.data(), 1, ReadLimit, stdin);
    contents.resize(got);
    if (std::ferror(stdin))
        return FileFailure{FileError::Other, errno};
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

// A script may handle several files: the error says which one failed.
ExitStatus fileOutcome(const std::optional<FileFailure>& failure, const std::string& fileName, ConsoleOutput& output)
{
    if (!failure)
        return Done;
    output.error(fileName + ": " + tableFileErrorText(*failure));
    return TableFileFailed;
}

std::string tableName(const TableKind& kind)
{
    return &kind == &PositionerTableKind ? "positioner" : "remote-control";
}

// The requests a put sends: the chunks, then the repeat value and the follow-up.
int putRequestCount(const TableKind& kind)
{
    return kind.chunkedBytes / BoxRequests::TableChunkLength + (kind.repeatValueLast ? 2 : 0);
}

// The box as the table transfers see it; the worst outcome of its requests is kept, and the
// requests the box answered are counted.
BoxExchange exchangeOver(ConsoleSession& session, ExitStatus& status, int& answered)
{
    return [&session, &status, &answered](const BoxRequest& request) {
        const ConsoleSession::Outcome outcome = session.send(request);
        if (outcome == ConsoleSession::Outcome::Replied)
            ++answered;
        noteOutcome(outcome, status);
        return session.buffer().contents();
    };
}

PlannedCommand planGet(const TableKind& kind, const std::string& file)
{
    PlannedCommand command;
    command.requests = [&kind] { return std::vector<BoxRequest>{kind.readRequest()}; };
    command.tableOnStandardOutput = file == StandardStream || file == "/dev/stdout";
    command.run = [&kind, file](ConsoleSession& session, ConsoleOutput& output) {
        std::vector<std::uint8_t> table(static_cast<std::size_t>(kind.size));
        ExitStatus status = Done;
        int answered = 0;
        // A reply that came with more than the table is no table: nothing is written.
        if (!downloadTable(exchangeOver(session, status, answered), kind, table.data()) || status != Done) {
            output.error(DownloadFailedText);
            return status == Done ? ReplyMissing : status;
        }
        if (file == StandardStream)
            return fileOutcome(writeStandardOutput(table.data(), table.size()), "standard output", output);
        return fileOutcome(writeTableFile(absoluteTablePath(file, true), table.data(), table.size()), file, output);
    };
    return command;
}

// A put changes the box for good, so only a file of exactly the table's size is taken; the
// window's Load, by contrast, takes the first bytes of a longer file.
PlannedCommand planPut(const TableKind& kind, const std::string& file)
{
    auto table = std::make_shared<std::vector<std::uint8_t>>();
    PlannedCommand command;
    command.prepare = [&kind, table, file](ConsoleOutput& output) {
        const bool fromStandardInput = file == StandardStream;
        const std::optional<FileFailure> failure = fromStandardInput
            ? readStandardInput(*table)
            : readTableFile(absoluteTablePath(file, false), ReadLimit, *table);
        if (interrupted())
            throw Interrupted();
        const std::string fileName = fromStandardInput ? "standard input" : file;
        if (failure)
            return fileOutcome(failure, fileName, output);
        const std::size_t size = static_cast<std::size_t>(kind.size);
        if (table->size() != size) {
            const std::string found = table->size() == ReadLimit ? "over " + std::to_string(ReadLimit - 1)
                                                                 : std::to_string(table->size());
            output.error(fileName + " holds " + found
                         + " bytes, not the " + std::to_string(size) + " of a " + tableName(kind)
                         + " table: nothing was sent");
            return TableFileFailed;
        }
        return Done;
    };
    command.requests = [&kind, table] {
        std::vector<BoxRequest> requests;
        uploadTable(
            [&requests](const BoxRequest& request) {
                requests.push_back(request);
                return std::vector<std::uint8_t>();
            },
            kind, table->data());
        return requests;
    };
    command.run = [&kind, table](ConsoleSession& session, ConsoleOutput& output) {
        ExitStatus status = Done;
        int answered = 0;
        try {
            uploadTable(exchangeOver(session, status, answered), kind, table->data());
        } catch (const Interrupted&) {
            output.error("interrupted: the box answered " + std::to_string(answered) + " of the "
                         + std::to_string(putRequestCount(kind)) + " writes of its " + tableName(kind)
                         + " table, which may now be half written");
            throw;
        }
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
