// Any bytes as a positioner (33-byte) or remote-control (97-byte) table file: a file at least
// the table's size loads its first bytes, a shorter one is refused and leaves the table as
// it was.
#include "FuzzCheck.h"
#include "Harnesses.h"

#include "ui/tables/TableFile.h"

#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <vector>

namespace {

constexpr std::size_t PositionTableSize = 33;
constexpr std::size_t RemoteTableSize = 97;
constexpr std::uint8_t Untouched = 0xA5;

// One file, rewritten for every input, in a folder removed when the run ends.
const QString& scratchFile()
{
    static const QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("table"));
    return path;
}

void loadAs(std::size_t tableSize, const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> table(tableSize, Untouched);
    const auto failure = loadTableFile(scratchFile(), table.data(), table.size());
    if (size >= tableSize) {
        requireThat(!failure, "a file of the table's size or more loads");
        requireThat(std::equal(table.begin(), table.end(), data), "the table holds the file's first bytes");
    } else {
        requireThat(failure && failure->startsWith(QStringLiteral("Read beyond end of file")),
                    "a short file is refused as read beyond its end");
        requireThat(std::all_of(table.begin(), table.end(), [](std::uint8_t b) { return b == Untouched; }),
                    "a refused file leaves the table as it was");
    }
}

} // namespace

int fuzzTableFile(const std::uint8_t* data, std::size_t size)
{
    std::ofstream(scratchFile().toStdString(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    loadAs(PositionTableSize, data, size);
    loadAs(RemoteTableSize, data, size);
    return 0;
}
