// Lets stop() reach the service thread at once, whatever it is waiting for: a request,
// room to write a reply, or the end of a deliberate delay.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace boxsim {

class WakePipe {
public:
    WakePipe() = default;
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    bool open(std::string& error);
    void close();

    // Stays raised until close(): every later wait returns at once.
    void raise();

    // Readable once raised (for poll()).
    int descriptor() const { return m_read; }

    // Sleeps for `ms`; false if the pipe was raised meanwhile.
    bool sleep(int ms) const;

    // Writes every byte to the non-blocking descriptor `fd`, waiting for room as needed;
    // false if the pipe was raised first or the write failed.
    bool writeAll(int fd, const std::uint8_t* data, std::size_t size) const;

private:
    int m_read = -1;
    int m_write = -1;
};

} // namespace boxsim
