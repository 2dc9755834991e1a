// The far end of a pseudo-terminal for tests that play the box by hand: the program opens
// slavePath() as its serial port, the test reads and writes the master side.
#pragma once

#include <QByteArray>
#include <QString>

class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    QString slavePath() const { return m_slavePath; }

    void write(const QByteArray& bytes);
    // Reads until `count` bytes came or `timeoutMs` passed.
    QByteArray read(int count, int timeoutMs);
    // Closes the master side: the program's port sees the device vanish.
    void closeMaster();

private:
    int m_master = -1;
    int m_slaveKeeper = -1; // keeps the slave raw and open while the program has not opened it
    QString m_slavePath;
};
