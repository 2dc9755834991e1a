// The table transfers over a scripted box: which requests go out, which replies make a table.
#include "TableTransfer.h"
#include "Tables.h"

#include <QTest>

#include <numeric>

namespace {

// Answers every request with `replyLength` counting bytes (or the length the request expects)
// and keeps the requests it was sent.
struct ScriptedBox {
    int replyLength = -1;
    std::vector<std::string> requests;

    BoxExchange exchange()
    {
        return [this](const BoxRequest& request) {
            requests.push_back(request.bytes);
            std::vector<std::uint8_t> reply(replyLength < 0 ? request.replyLength : std::size_t(replyLength));
            std::iota(reply.begin(), reply.end(), std::uint8_t(1));
            return reply;
        };
    }
};

std::string bytes(std::initializer_list<int> values)
{
    std::string text;
    for (int value : values)
        text.push_back(static_cast<char>(value));
    return text;
}

} // namespace

class TestTableTransfer : public QObject {
    Q_OBJECT

private slots:
    void downloadsDecodeAReplyOfExactLength()
    {
        ScriptedBox box;
        PositionTableBytes positions{};
        positions[32] = 0x5A;
        QVERIFY(downloadTable(box.exchange(), PositionerTableKind, positions.data()));
        QCOMPARE(positions[0], std::uint8_t(2)); // reply byte 1
        QCOMPARE(positions[31], std::uint8_t(33));
        QCOMPARE(positions[32], std::uint8_t(0x5A));
        RemoteTableBytes remote{};
        QVERIFY(downloadTable(box.exchange(), RemoteTableKind, remote.data()));
        QCOMPARE(remote[RepeatByte], std::uint8_t(1)); // reply byte 0
        QCOMPARE(remote[0], std::uint8_t(2));
        QCOMPARE(box.requests, std::vector<std::string>({bytes({0x06}), bytes({0x09})}));
    }

    void downloadsRefuseShortAndLongReplies()
    {
        for (int length : {34, 36}) {
            ScriptedBox box;
            box.replyLength = length;
            PositionTableBytes positions{};
            QVERIFY(!downloadTable(box.exchange(), PositionerTableKind, positions.data()));
            QCOMPARE(positions, PositionTableBytes{});
        }
    }

    void uploadsSendEveryChunkThenTheRepeatValue()
    {
        ScriptedBox box;
        box.replyLength = 0; // a silent box does not stop an upload
        PositionTableBytes positions{};
        std::iota(positions.begin(), positions.end(), std::uint8_t(10));
        uploadTable(box.exchange(), PositionerTableKind, positions.data());
        QCOMPARE(box.requests.size(), std::size_t(4));
        QCOMPARE(box.requests[0], bytes({0x0A, 0x01, 0x00, 10, 11, 12, 13, 14, 15, 16, 17}));
        QCOMPARE(box.requests[3], bytes({0x0A, 0x01, 0x18, 34, 35, 36, 37, 38, 39, 40, 41}));

        box.requests.clear();
        RemoteTableBytes remote{};
        remote[RepeatByte] = 7;
        uploadTable(box.exchange(), RemoteTableKind, remote.data());
        QCOMPARE(box.requests.size(), std::size_t(14));
        QCOMPARE(box.requests[11].substr(0, 3), bytes({0x0A, 0x02, 0x58}));
        QCOMPARE(box.requests[12], bytes({0x07, 0x00, 0x02, 7}));
        QCOMPARE(box.requests[13], bytes({0x08}));
    }
};

QTEST_GUILESS_MAIN(TestTableTransfer)
#include "tst_tabletransfer.moc"
