// The table transfers over a scripted box: which requests go out, which replies make a table.
#include "ui/tables/Tables.h"
#include "ui/tables/TableTransfer.h"

#include "doctest.h"

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

TEST_CASE("downloads decode a reply of exact length")
{
    ScriptedBox box;
    PositionTableBytes positions{};
    positions[32] = 0x5A;
    CHECK(downloadTable(box.exchange(), PositionerTableKind, positions.data()));
    CHECK(positions[0] == 2); // reply byte 1
    CHECK(positions[31] == 33);
    CHECK(positions[32] == 0x5A);
    RemoteTableBytes remote{};
    CHECK(downloadTable(box.exchange(), RemoteTableKind, remote.data()));
    CHECK(remote[RepeatByte] == 1); // reply byte 0
    CHECK(remote[0] == 2);
    CHECK(box.requests == std::vector<std::string>{bytes({0x06}), bytes({0x09})});
}

TEST_CASE("downloads refuse short and long replies")
{
    for (int length : {34, 36}) {
        ScriptedBox box;
        box.replyLength = length;
        PositionTableBytes positions{};
        CHECK_FALSE(downloadTable(box.exchange(), PositionerTableKind, positions.data()));
        CHECK(positions == PositionTableBytes{});
    }
}

TEST_CASE("uploads send every chunk, then the repeat value")
{
    ScriptedBox box;
    box.replyLength = 0; // a silent box does not stop an upload
    PositionTableBytes positions{};
    std::iota(positions.begin(), positions.end(), std::uint8_t(10));
    uploadTable(box.exchange(), PositionerTableKind, positions.data());
    REQUIRE(box.requests.size() == 4);
    CHECK(box.requests[0] == bytes({0x0A, 0x01, 0x00, 10, 11, 12, 13, 14, 15, 16, 17}));
    CHECK(box.requests[3] == bytes({0x0A, 0x01, 0x18, 34, 35, 36, 37, 38, 39, 40, 41}));

    box.requests.clear();
    RemoteTableBytes remote{};
    remote[RepeatByte] = 7;
    uploadTable(box.exchange(), RemoteTableKind, remote.data());
    REQUIRE(box.requests.size() == 14);
    CHECK(box.requests[11].substr(0, 3) == bytes({0x0A, 0x02, 0x58}));
    CHECK(box.requests[12] == bytes({0x07, 0x00, 0x02, 7}));
    CHECK(box.requests[13] == bytes({0x08}));
}
