// The display's request parser: commands cut out of the byte stream, with noise between
// them and the byte values that may stand inside a command.
#include "sim/display/display_request.h"

#include <gtest/gtest.h>

namespace {
std::vector<sim::DisplayRequest> FeedAll(sim::DisplayRequestParser& parser,
                                         const std::string& bytes) {
    std::vector<sim::DisplayRequest> out;
    for (char c : bytes)
        if (auto r = parser.feed(static_cast<std::uint8_t>(c))) out.push_back(*r);
    return out;
}
}  // namespace

TEST(DisplayRequestParser, SetupSessionIsCutIntoCommands) {
    sim::DisplayRequestParser parser;
    auto requests = FeedAll(parser, "@TA\r@TM01/000\r@U09:05:03\r@US\r@D07.03.24\r@Ta\r");
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(requests[0].kind, sim::RequestKind::Login);
    EXPECT_EQ(requests[1].kind, sim::RequestKind::Setup);
    EXPECT_EQ(requests[1].bytes, "@TM01/000\r");
    EXPECT_EQ(requests[2].kind, sim::RequestKind::Clock);
    EXPECT_EQ(requests[3].kind, sim::RequestKind::Clock);
    EXPECT_EQ(requests[4].kind, sim::RequestKind::Clock);
    EXPECT_EQ(requests[5].kind, sim::RequestKind::Logout);
    EXPECT_EQ(parser.noiseBytes(), 0u);
}

TEST(DisplayRequestParser, TextLineMayHoldAtSignsAndHighBytes) {
    sim::DisplayRequestParser parser;
    std::string line = "@TK0000/01/mail@host \xB0\xDF" + std::string(25, ' ') + "\r";
    auto requests = FeedAll(parser, line);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, sim::RequestKind::Setup);
    EXPECT_EQ(requests[0].bytes, line);
}

TEST(DisplayRequestParser, RetrievalRequests) {
    sim::DisplayRequestParser parser;
    auto requests = FeedAll(parser, "@@/r@YA@@@/r@Y0100@@@/r@yA@@YI@@yI@@Y12@");
    ASSERT_EQ(requests.size(), 9u);
    EXPECT_EQ(requests[0].kind, sim::RequestKind::Preface);
    EXPECT_EQ(requests[1].kind, sim::RequestKind::Protocol);
    EXPECT_EQ(requests[1].upToEntry, 0);
    EXPECT_EQ(requests[3].kind, sim::RequestKind::Protocol);
    EXPECT_EQ(requests[3].upToEntry, 100);
    EXPECT_EQ(requests[5].kind, sim::RequestKind::Statistics);
    EXPECT_EQ(requests[6].kind, sim::RequestKind::ClearProtocol);
    EXPECT_EQ(requests[7].kind, sim::RequestKind::ClearStatistics);
    // Not four digits: a command the display does not know.
    EXPECT_EQ(requests[8].kind, sim::RequestKind::Unknown);
}

TEST(DisplayRequestParser, NoiseBetweenCommandsIsDropped) {
    sim::DisplayRequestParser parser;
    // Stray bytes, an "@" that starts no command, a broken preface, then a login.
    auto requests = FeedAll(parser, "xy\r@Q@@/x@TA\r");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, sim::RequestKind::Login);
    EXPECT_GT(parser.noiseBytes(), 0u);
}

TEST(DisplayRequestParser, OverlongCommandIsNoiseAndTheNextOneCounts) {
    sim::DisplayRequestParser parser;
    std::string endless = "@TK" + std::string(sim::DisplayRequestParser::kMaxCommandLength, 'x');
    auto requests = FeedAll(parser, endless + "\r@TA\r");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, sim::RequestKind::Login);
}

TEST(DisplayRequestParser, ResetForgetsHalfACommand) {
    sim::DisplayRequestParser parser;
    FeedAll(parser, "@TB0000");
    parser.reset();
    auto requests = FeedAll(parser, "1\r@Ta\r");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, sim::RequestKind::Logout);
}
