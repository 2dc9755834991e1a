// The program's end of the simulated box's cable, for the box's own tests: the slave side of
// its pseudo-terminal, opened raw, read with deadlines.
#pragma once

#include <QByteArray>

#include <initializer_list>
#include <string>

constexpr int ReplyTimeoutMs = 3000;

QByteArray bytes(std::initializer_list<int> values);

// The request filled up with zero bytes to a whole 11-byte packet.
QByteArray packet(QByteArray request);

template <typename Bytes>
QByteArray fromTable(const Bytes& table, int first, int count)
{
    return QByteArray(reinterpret_cast<const char*>(table.data()) + first, count);
}

class SlavePort {
public:
    explicit SlavePort(const std::string& path);
    ~SlavePort();
    SlavePort(const SlavePort&) = delete;
    SlavePort& operator=(const SlavePort&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool write(const QByteArray& data);
    bool sendRequest(const QByteArray& request) { return write(packet(request)); }

    // Whatever arrives until `count` bytes are in or the deadline passes.
    QByteArray read(int count, int timeoutMs = ReplyTimeoutMs);
    // Everything that came with the first read after waiting up to `timeoutMs`.
    QByteArray readAvailable(int timeoutMs);
    // Up to and including the next CR LF.
    QByteArray readLine(int timeoutMs = ReplyTimeoutMs);
    // The reply to the follow-up request, which the box answers with "OK": anything left over
    // from an earlier reply would come first.
    QByteArray probe();

private:
    QByteArray readOnce(int timeoutMs);

    int m_fd = -1;
    QByteArray m_unread; // received but not yet taken
};
