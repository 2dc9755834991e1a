// The two tables the box keeps, optionally backed by files so that they outlive a run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace boxsim {

using PositionTable = std::array<std::uint8_t, 33>; // positions 0..31, then one carried byte
using RemoteTable = std::array<std::uint8_t, 97>;   // twelve 8-byte key codes, then the repeat value

constexpr std::size_t RepeatValueIndex = 96;

class BoxTables {
public:
    // Recognisable contents for a fresh box: position i holds i*8, remote byte i holds i.
    BoxTables();

    // Files are optional (empty path: memory only). An existing file replaces the initial
    // contents and must have the table's exact size; a missing file is created on the
    // first change.
    bool load(const std::string& positionsFile, const std::string& remoteFile, std::string& error);

    const PositionTable& positions() const { return m_positions; }
    const RemoteTable& remote() const { return m_remote; }

    void setPositions(const PositionTable& table);
    void setRemote(const RemoteTable& table);

    // Writes up to eight bytes at `offset`; bytes that fall past the table's end are dropped.
    void writePositionChunk(std::size_t offset, const std::uint8_t* data, std::size_t size);
    void writeRemoteChunk(std::size_t offset, const std::uint8_t* data, std::size_t size);
    void setRepeatValue(std::uint8_t value);

private:
    void savePositions() const;
    void saveRemote() const;

    PositionTable m_positions;
    RemoteTable m_remote;
    std::string m_positionsFile;
    std::string m_remoteFile;
};

} // namespace boxsim
