#include "InProcessBox.h"

#include "BoxSimulator.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// A private folder for the port's link, gone with the box.
class LinkFolder {
public:
    bool make(std::string& error)
    {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") + "/vantorel-box-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            error = pattern + ": " + std::strerror(errno);
            return false;
        }
        m_path = pattern;
        return true;
    }
    ~LinkFolder()
    {
        if (!m_path.empty())
            ::rmdir(m_path.c_str());
    }

    std::string linkPath() const { return m_path + "/box"; }

private:
    std::string m_path;
};

class InProcessBox final : public TestBox {
public:
    bool start(std::string& error)
    {
        if (!m_folder.make(error))
            return false;
        BoxSimulator::Options options;
        options.linkPath = m_folder.linkPath();
        m_box = std::make_unique<BoxSimulator>(options);
        return m_box->start(&error);
    }

    std::string portName() const override { return m_folder.linkPath(); }

    std::vector<Packet> requests() const override { return m_box->requests(); }
    void clearRequests() override { m_box->clearRequests(); }
    std::size_t pendingRequestBytes() const override { return m_box->pendingRequestBytes(); }

    PositionTable positionTable() const override { return m_box->positionTable(); }
    void setPositionTable(const PositionTable& table) override { m_box->setPositionTable(table); }
    RemoteTable remoteTable() const override { return m_box->remoteTable(); }
    void setRemoteTable(const RemoteTable& table) override { m_box->setRemoteTable(table); }

    void setFault(Fault fault) override { m_box->setFault(fault); }
    void setLateDelayMs(int ms) override { m_box->setLateDelayMs(ms); }
    void setSplitPauseMs(int ms) override { m_box->setSplitPauseMs(ms); }
    void setAnalyseStream(bool enabled) override { m_box->setAnalyseStream(enabled); }
    void setAnalyseIntervalMs(int ms) override { m_box->setAnalyseIntervalMs(ms); }
    void forceNextReplyLength(std::uint8_t opcode, std::size_t length) override
    {
        m_box->forceNextReplyLength(opcode, length);
    }

    bool send(const std::string& bytes) override { return m_box->send({bytes.begin(), bytes.end()}); }
    void unplug() override { m_box->stop(); }
    bool plugIn() override { return m_box->start(); }

    bool setReplyHook(ReplyHook hook) override
    {
        m_box->setReplyHook(std::move(hook));
        return true;
    }

private:
    LinkFolder m_folder;                // declared first: the box's link goes before its folder
    std::unique_ptr<BoxSimulator> m_box;
};

} // namespace

std::unique_ptr<TestBox> openInProcessBox(std::string& error)
{
    auto box = std::make_unique<InProcessBox>();
    if (!box->start(error))
        return nullptr;
    return box;
}
