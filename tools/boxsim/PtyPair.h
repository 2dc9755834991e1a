// The pseudo-terminal pair that stands in for the box's serial cable: the box works the
// master side, the program opens the slave path like any serial device.
#pragma once

#include <string>

namespace boxsim {

class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Creates the pair with a non-blocking master and a raw slave. On failure `error` names
    // the step that failed and the system's reason.
    bool open(std::string& error);
    void close();

    int masterDescriptor() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    // Held open for the pair's whole life: it keeps the slave's raw settings in place and
    // spares the master a hang-up while the program has the port closed.
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace boxsim
