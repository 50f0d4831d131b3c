#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/PortNaming.h"
#include "link/TelnetCodec.h"
#include "link/WriteBacklog.h"

using namespace quorvane;
using Kind = PortEntry::Kind;

TEST(PortAddress, ParsesBothModesAndSaysWhatIsWrong) {
    struct Row {
        std::string text;
        Kind kind;
        std::string host;
        int port;
        std::string problem;
    };
    const Row rows[] = {
        {"tcp://pi.local:2000\r\n", Kind::Raw, "pi.local", 2000, ""},
        {"  telnet://192.168.1.20:2001  \nsecond line", Kind::Telnet, "192.168.1.20", 2001, ""},
        {"tcp://[fe80::1]:65535/", Kind::Raw, "fe80::1", 65535, ""},
        {"/dev/ttyUSB0", Kind::Unusable, "", 0, "holds no tcp:// or telnet:// address"},
        {"", Kind::Unusable, "", 0, "holds no tcp:// or telnet:// address"},
        {"tcp://pi.local", Kind::Unusable, "", 0, "has no port number in tcp://pi.local"},
        {"tcp://pi.local:", Kind::Unusable, "", 0, "has no port number in tcp://pi.local:"},
        {"tcp://:2000", Kind::Unusable, "", 0, "has a bad host in tcp://:2000"},
        {"tcp://pi.local:70000", Kind::Unusable, "", 0, "has a bad port number in tcp://pi.local:70000"},
        {"tcp://pi.local:0", Kind::Unusable, "", 0, "has a bad port number in tcp://pi.local:0"},
        {"telnet://pi.local:20x1", Kind::Unusable, "", 0, "has a bad port number in telnet://pi.local:20x1"},
    };
    for (const Row& row : rows) {
        const PortEntry entry = ParsePortAddress(row.text);
        EXPECT_EQ(entry.kind, row.kind) << row.text;
        EXPECT_EQ(entry.host, row.host) << row.text;
        EXPECT_EQ(entry.port, row.port) << row.text;
        EXPECT_EQ(entry.problem, row.problem) << row.text;
    }
    EXPECT_EQ(ParsePortAddress(" tcp://pi:2000\r\n").shown, "tcp://pi:2000");
}

TEST(PortAddress, AComFileMeansItsAddressALinkMeansTheDevice) {
    const auto dir = std::filesystem::temp_directory_path() / "quorvane-port-entry";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "com2") << "telnet://shack:2001\n";
    std::ofstream(dir / "com4") << "nonsense\n";
    std::filesystem::create_symlink("/nonexistent/pts/77", dir / "com3");  // the device may come back
    const PortEntry file = FindPortEntry(2, dir.string());
    EXPECT_EQ(file.kind, Kind::Telnet);
    EXPECT_EQ(file.shown, "telnet://shack:2001");
    EXPECT_EQ(FindPortEntry(3, dir.string()).device, (dir / "com3").string());
    EXPECT_EQ(FindPortEntry(1, dir.string()).shown, "/dev/ttyUSB0");
    EXPECT_EQ(FindPortEntry(10, dir.string()).device, "/dev/ttyUSB9");
    const PortEntry bad = FindPortEntry(4, dir.string());
    EXPECT_EQ(bad.kind, Kind::Unusable);
    EXPECT_EQ(bad.shown, (dir / "com4").string());
    std::filesystem::remove_all(dir);
}

namespace {
std::string B(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) out += static_cast<char>(b);
    return out;
}
}  // namespace

TEST(TelnetCodec, GreetingSetsTheSpeedAnd8N1) {
    EXPECT_EQ(TelnetCodec::Greeting(57600),
              B({255, 251, 44}) + B({255, 250, 44, 1, 0, 0, 0xE1, 0, 255, 240}) + B({255, 250, 44, 2, 8, 255, 240}) +
                  B({255, 250, 44, 3, 1, 255, 240}) + B({255, 250, 44, 4, 1, 255, 240}));
    // A speed with a 0xFF byte in it goes out escaped.
    EXPECT_EQ(TelnetCodec::Greeting(255).substr(3, 9), B({255, 250, 44, 1, 0, 0, 0, 255, 255}));
    EXPECT_EQ(TelnetCodec::Encode(B({'A', 255, '\r'})), B({'A', 255, 255, '\r'}));
}

TEST(TelnetCodec, StripsNegotiationAndAnswersOnlyChanges) {
    struct Row {
        std::vector<std::string> chunks;  // received in these pieces
        std::string data;                 // what reaches the reader
        std::string answer;               // what goes back to the server
    };
    const Row rows[] = {
        {{"STS,1\r"}, "STS,1\r", ""},
        {{B({'a', 255, 255, 'b'})}, B({'a', 255, 'b'}), ""},
        // ser2net's opening: binary and no go-ahead accepted, echo refused,
        // the COM-PORT-OPTION it asks for already offered.
        {{B({255, 251, 0, 255, 251, 3, 255, 251, 1, 255, 253, 44, 255, 253, 0})}, "",
         B({255, 253, 0, 255, 253, 3, 255, 254, 1, 255, 251, 0})},
        {{B({255, 253, 24, 255, 252, 3})}, "", B({255, 252, 24})},  // terminal type refused; a WONT for an off option is not answered
        {{B({255, 254, 44})}, "", B({255, 252, 44})},
        // The server's reply to the speed, split anywhere, with an escaped 0xFF inside.
        {{B({'O', 255, 250, 44, 101, 0}), B({0, 255, 255, 0, 255}), B({240, 'K', 255}), B({241, '\r'})}, "OK\r", ""},
        {{B({255}), B({251}), B({1, 'x'})}, "x", B({255, 254, 1})},
    };
    for (const Row& row : rows) {
        TelnetCodec codec;
        std::string data, answer;
        for (const std::string& chunk : row.chunks) data += codec.Decode(chunk, answer);
        EXPECT_EQ(data, row.data);
        EXPECT_EQ(answer, row.answer);
    }
}

TEST(WriteBacklog, DropsCommandsOnceTheScannerStopsAnsweringUntilItAnswers) {
    WriteBacklog backlog(100);
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(backlog.Admit(8, 0, 0));
    EXPECT_FALSE(backlog.Admit(8, 0, 0));  // 96 unanswered: the next one would pass 100
    EXPECT_TRUE(backlog.Blocked());
    EXPECT_TRUE(backlog.Admit(4, 0, 0));  // a shorter one still fits
    backlog.Answered(0);
    EXPECT_FALSE(backlog.Blocked());
    EXPECT_TRUE(backlog.Admit(50, 0, 0));
    // What the link holds unsent at an answer is still unanswered once it
    // has gone out.
    backlog.Answered(90);
    EXPECT_FALSE(backlog.Admit(20, 0, 0));
    EXPECT_TRUE(backlog.Admit(10, 0, 0));
    // The limit of a link: 1 KiB.
    WriteBacklog link;
    for (int i = 0; i < 128; ++i) EXPECT_TRUE(link.Admit(8, 0, 0));
    EXPECT_FALSE(link.Admit(1, 0, 0));

    // A scanner switched off for a while read and dropped what it got: one
    // line a second still goes out while blocked, so that it is heard when
    // it comes back.
    WriteBacklog off(100);
    EXPECT_TRUE(off.Admit(100, 0, 0));
    EXPECT_FALSE(off.Admit(4, 0, 10));
    EXPECT_FALSE(off.Admit(4, 0, 1009));
    EXPECT_TRUE(off.Admit(4, 0, 1010));
    EXPECT_FALSE(off.Admit(4, 0, 1011));
    EXPECT_TRUE(off.Blocked());
    off.Answered(0);
    EXPECT_FALSE(off.Blocked());
}
