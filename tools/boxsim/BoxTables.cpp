#include "BoxTables.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace boxsim {
namespace {

// A file that does not exist is not an error: the box then starts from its own contents.
template <std::size_t N>
bool loadFile(const std::string& path, std::array<std::uint8_t, N>& table, std::string& error)
{
    if (path.empty())
        return true;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT)
            return true;
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::array<std::uint8_t, N + 1> contents{};
    const std::size_t size = std::fread(contents.data(), 1, contents.size(), file);
    std::fclose(file);
    if (size != N) {
        error = path + ": not a " + std::to_string(N) + "-byte table file";
        return false;
    }
    std::copy_n(contents.begin(), N, table.begin());
    return true;
}

// A failed save leaves the box running on its memory copy; the message tells the user why
// the file is stale.
template <std::size_t N>
void saveFile(const std::string& path, const std::array<std::uint8_t, N>& table)
{
    if (path.empty())
        return;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(table.data(), 1, N, file) == N;
    const bool closed = file && std::fclose(file) == 0;
    if (!written || !closed)
        std::fprintf(stderr, "boxsim: cannot save %s: %s\n", path.c_str(), std::strerror(errno));
}

template <std::size_t N>
void writeChunk(std::array<std::uint8_t, N>& table, std::size_t offset, const std::uint8_t* data,
                std::size_t size)
{
    for (std::size_t i = 0; i < size && offset + i < N; ++i)
        table[offset + i] = data[i];
}

} // namespace

BoxTables::BoxTables()
{
    for (std::size_t i = 0; i < m_positions.size(); ++i)
        m_positions[i] = static_cast<std::uint8_t>(i * 8);
    for (std::size_t i = 0; i < m_remote.size(); ++i)
        m_remote[i] = static_cast<std::uint8_t>(i);
}

bool BoxTables::load(const std::string& positionsFile, const std::string& remoteFile,
                     std::string& error)
{
    m_positionsFile = positionsFile;
    m_remoteFile = remoteFile;
    return loadFile(m_positionsFile, m_positions, error) && loadFile(m_remoteFile, m_remote, error);
}

void BoxTables::setPositions(const PositionTable& table)
{
    m_positions = table;
    savePositions();
}

void BoxTables::setRemote(const RemoteTable& table)
{
    m_remote = table;
    saveRemote();
}

void BoxTables::writePositionChunk(std::size_t offset, const std::uint8_t* data, std::size_t size)
{
    writeChunk(m_positions, offset, data, size);
    savePositions();
}

void BoxTables::writeRemoteChunk(std::size_t offset, const std::uint8_t* data, std::size_t size)
{
    writeChunk(m_remote, offset, data, size);
    saveRemote();
}

void BoxTables::setRepeatValue(std::uint8_t value)
{
    m_remote[RepeatValueIndex] = value;
    saveRemote();
}

void BoxTables::savePositions() const
{
    saveFile(m_positionsFile, m_positions);
}

void BoxTables::saveRemote() const
{
    saveFile(m_remoteFile, m_remote);
}

} // namespace boxsim
