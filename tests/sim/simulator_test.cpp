#include "Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>

#include "ScenarioParser.h"
#include "link/Fields.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The program's side of the link: the pty slave opened as a plain serial port.
class Port {
public:
    explicit Port(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios raw{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(fd_, TCSANOW, &raw);
        }
    }
    ~Port() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool IsOpen() const { return fd_ >= 0; }

    void Send(const std::string& bytes) {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // The next CR-ended line (CR included), or nothing by the deadline.
    std::optional<std::string> ReadLine(Clock::duration timeout = 3s) {
        const Clock::time_point deadline = Clock::now() + timeout;
        while (true) {
            const std::size_t cr = pending_.find('\r');
            if (cr != std::string::npos) {
                std::string line = pending_.substr(0, cr + 1);
                pending_.erase(0, cr + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return std::nullopt;
            pollfd fd{fd_, POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(left.count())) > 0) {
                char buffer[512];
                const ssize_t got = ::read(fd_, buffer, sizeof buffer);
                if (got > 0) pending_.append(buffer, static_cast<std::size_t>(got));
            }
        }
    }

    std::string Ask(const std::string& command) {
        Send(command + "\r");
        return ReadLine().value_or("(no reply)");
    }

private:
    int fd_;
    std::string pending_;
};

Scenario Radio() {
    return ParseScenario(
        "step 60000 hit line1=\"County \\xE9\\xFF\" line2=\"Disp \\x82 1\\x10\\x81\" freq=01544300\n"
        "system S\ngroup G\nchannel \"C \\x80\" 01544300\n",
        nullptr);
}

TEST(Simulator, AnswersOverThePtyWithEightBitBytesUnchanged) {
    Simulator sim(Radio());
    sim.Start();
    Port port(sim.SlavePath());
    ASSERT_TRUE(port.IsOpen()) << sim.SlavePath();
    const std::string sts = port.Ask("STS");
    EXPECT_EQ(sts,
              "STS,County \xE9\xFF       ,,Disp \x82 1\x10\x81      ,,000000000000000,00000000000000000,"
              "0,0,0,0,0\r");
    EXPECT_EQ(port.Ask("WIN"), "WIN,142,01544300\r");
    EXPECT_EQ(port.Ask("PRG"), "PRG,OK\r");
    const std::string first = SplitFields(port.Ask("SIH"), ',')[1];
    const std::string group = SplitFields(port.Ask("SIN," + RemoveAll(first, "\r")), ',')[12];
    const std::string channel = SplitFields(port.Ask("GIN," + group), ',')[8];
    EXPECT_EQ(SplitFields(port.Ask("CIN," + channel), ',')[1], "C \x80");
}

TEST(Simulator, SplitsCommandsAtCrAndIgnoresLineFeedsAndEmptyLines) {
    Simulator sim(Radio());
    sim.Start();
    Port port(sim.SlavePath());
    port.Send("\r\nSTS\rGI");
    port.Send("D\r\n\rWIN\r");
    EXPECT_EQ(port.ReadLine().value_or("").rfind("STS,", 0), 0u);
    EXPECT_EQ(port.ReadLine().value_or("").rfind("GID,", 0), 0u);
    EXPECT_EQ(port.ReadLine().value_or("").rfind("WIN,", 0), 0u);
    EXPECT_EQ(sim.ReceivedCommands(), (std::vector<std::string>{"STS", "GID", "WIN"}));
}

TEST(Simulator, KeepsAnsweringWhenThePortIsClosedAndOpenedAgain) {
    Simulator sim(Radio());
    sim.Start();
    {
        Port first(sim.SlavePath());
        EXPECT_EQ(first.Ask("KEY,H,P"), "KEY,OK\r");
    }
    Port again(sim.SlavePath());
    EXPECT_EQ(again.Ask("EPG"), "EPG,OK\r");
    EXPECT_TRUE(sim.WaitForCommands(2, 1s));
}

TEST(Simulator, LogsEveryCommandWithItsTime) {
    const std::string log = ::testing::TempDir() + "/simulator_test_log.txt";
    std::remove(log.c_str());
    Simulator sim(Radio(), {0, 0, log});
    sim.Start();
    Port port(sim.SlavePath());
    port.Ask("STS");
    port.Ask("KEY,\x82,P");
    ASSERT_TRUE(sim.WaitForCommands(2, 1s));
    std::ifstream file(log);
    std::string line;
    std::vector<std::string> commands;
    SimTime last = -1;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        SimTime ms = -1;
        fields >> ms;
        EXPECT_GE(ms, last);
        last = ms;
        commands.push_back(line.substr(line.find(' ') + 1));
    }
    EXPECT_EQ(commands, (std::vector<std::string>{"STS", "KEY,\\x82,P"}));
}

TEST(Simulator, HoldsRepliesBackByTheReplyDelay) {
    Simulator sim(Radio(), {0, 150, {}});
    sim.Start();
    Port port(sim.SlavePath());
    const Clock::time_point sent = Clock::now();
    ASSERT_EQ(port.Ask("EPG"), "EPG,OK\r");
    EXPECT_GE(Clock::now() - sent, 150ms);
}

TEST(Simulator, PacesRepliesAtTheBaudRate) {
    Simulator sim(Radio(), {2400, 0, {}});
    sim.Start();
    Port port(sim.SlavePath());
    const Clock::time_point sent = Clock::now();
    const std::string reply = port.Ask("STS");
    const auto took = Clock::now() - sent;
    // 10 bits a byte at 2400 baud: about 4.2 ms a byte.
    EXPECT_GE(took, std::chrono::microseconds(reply.size() * 10'000'000 / 2400));
    EXPECT_EQ(reply.back(), '\r');
}

TEST(Simulator, SilentRadioReadsButDoesNotAnswer) {
    Simulator sim(Radio());
    sim.Start();
    Port port(sim.SlavePath());
    sim.SetAnswering(false);
    port.Send("STS\r");
    ASSERT_TRUE(sim.WaitForCommands(1, 1s));
    sim.SetAnswering(true);
    // The first reply to arrive is the one to the second command.
    EXPECT_EQ(port.Ask("EPG"), "EPG,OK\r");
}

TEST(Simulator, TestsCanSetTheDisplayAndSendRawBytes) {
    Simulator sim(Radio());
    sim.Start();
    Port port(sim.SlavePath());
    RadioView view;
    view.line2 = kPressAnyKey;
    sim.SetOverride(view);
    EXPECT_EQ(SplitFields(port.Ask("STS"), ',')[3], kPressAnyKey);
    sim.SetOverride(std::nullopt);
    EXPECT_TRUE(sim.CurrentView().receiving);
    sim.ChangeState([](RadioState& radio, SimTime now) { radio.Tune("01625500", "AM", now); });
    EXPECT_EQ(port.Ask("WIN"), "WIN,0,01625500\r");
    sim.SendRaw("STS,garbled\r");
    EXPECT_EQ(port.ReadLine(), "STS,garbled\r");
}

}  // namespace
}  // namespace quorvane
