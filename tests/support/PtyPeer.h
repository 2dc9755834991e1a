// The far end of a pseudo-terminal for tests that play the box by hand: the program (or the
// port layer) opens slavePath() as its serial port, the test reads and writes the master.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class PtyPeer {
public:
    enum class Slave {
        KeptRaw,   // opened and kept raw until the port opens it, as a real line would be
        Untouched, // left as the driver makes it (cooked): the port must make it raw itself
    };

    explicit PtyPeer(Slave slave = Slave::KeptRaw);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& slavePath() const { return m_slavePath; }

    // Writes every byte; false once the master is closed or the write fails.
    bool write(std::string_view bytes);
    // What arrives until `count` bytes came or the line stays quiet for `quietMs`.
    std::string read(std::size_t count, int quietMs = 2000);
    // Closes the master side: the port sees its device vanish.
    void closeMaster();

private:
    int m_master = -1;
    int m_slaveKeeper = -1;
    std::string m_slavePath;
};
