// Talks to the quorvane-sim program (built next to this test) over its
// pseudo-terminal the way the application does.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "DemoScenario.h"
#include "Simulator.h"
#include "base/Fields.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Reads fd until the text holds end (empty end: until fd closes) or 5 s pass;
// *closed tells whether fd closed.
std::string ReadUntil(int fd, const std::string& end, bool* closed = nullptr) {
    std::string text;
    char buffer[256];
    pollfd p{fd, POLLIN, 0};
    for (const auto deadline = Clock::now() + 5s; end.empty() || text.find(end) == std::string::npos;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) break;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (closed) *closed = got <= 0;
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// The pty slave opened as a plain raw serial port.
int OpenPort(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    if (fd >= 0 && ::tcgetattr(fd, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
    return fd;
}

std::string Ask(int fd, const std::string& bytes) {
    EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    return ReadUntil(fd, "\r");
}

TEST(Pty, ProgramCarriesEightBitBytesOverItsLinkAndCleansUpOnSigterm) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("sim_program_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string link = (dir / "com1").string();
    const std::string log = (dir / "commands.log").string();
    const std::string scenario = (dir / "radio.txt").string();
    std::ofstream(scenario) << "step 60000 hit line1=\"County \\xE9\\xFF\" line2=\"Disp \\x82 1\\x10\\x81\" "
                               "freq=01544300\nsystem S\ngroup G\nchannel \"C \\x80\" 01544300\n";
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "sim" / "quorvane-sim";
    const char* argv[] = {program.c_str(), "--scenario", scenario.c_str(), "--link", link.c_str(),
                          "--log",        log.c_str(),     nullptr};
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(out[1], 2);
        ::close(out[0]);
        ::execv(argv[0], const_cast<char* const*>(argv));
        ::_exit(127);
    }
    ::close(out[1]);
    ASSERT_GT(pid, 0);

    // Everything up to the SIGTERM runs without an early return, so the
    // program is always stopped.
    const std::string first = ReadUntil(out[0], "\n");
    std::error_code no_link;
    const fs::path linked_to = fs::read_symlink(link, no_link);
    const int fd = OpenPort(link);
    std::string sts = "(cannot open the link)", channel;
    if (fd >= 0) {
        auto field = [&](const std::string& command, std::size_t index) {
            const std::vector<std::string> reply = SplitFields(RemoveAll(Ask(fd, command + "\r"), "\r"), ',');
            return reply.size() > index ? reply[index] : "";
        };
        EXPECT_EQ(::write(fd, "\r\nST", 4), 4);  // stray line ends, then a command in two pieces
        sts = Ask(fd, "S\r");
        EXPECT_EQ(field("PRG", 1), "OK");
        channel = field("CIN," + field("GIN," + field("SIN," + field("SIH", 1), 12), 8), 1);
        ::close(fd);
    }
    ::kill(pid, SIGTERM);
    bool closed = false;
    const std::string output = first + ReadUntil(out[0], "", &closed);
    if (!closed) ::kill(pid, SIGKILL);
    int status = -1;
    ::waitpid(pid, &status, 0);
    ::close(out[0]);

    ASSERT_EQ(first.rfind("PTY /dev/pts/", 0), 0u) << first;
    EXPECT_EQ(linked_to, first.substr(4, first.find('\n') - 4));
    EXPECT_EQ(sts,
              "STS,County \xE9\xFF       ,,Disp \x82 1\x10\x81      ,,000000000000000,00000000000000000,"
              "0,0,0,0,0\r");
    EXPECT_EQ(channel, "C \x80");
    EXPECT_TRUE(closed && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << output;
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    std::vector<std::string> logged;  // the stray line ends are no commands
    std::ifstream log_file(log);
    for (std::string line; std::getline(log_file, line);) logged.push_back(line.substr(line.find(' ') + 1));
    EXPECT_EQ(logged.size(), 6u);
    EXPECT_EQ(logged.empty() ? "" : logged[0], "STS");
    fs::remove_all(dir);
}

// The radio answers "CLR" only when it has cleared its memory; what is sent
// meanwhile is answered after it, in order.
TEST(Pty, ClearingTheMemoryTakesTheRadioItsTime) {
    SimulatorOptions options;
    options.clear_ms = 300;
    Simulator radio(DemoScenario(), options);
    radio.Start();
    const int fd = OpenPort(radio.SlavePath());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Ask(fd, "PRG\r"), "PRG,OK\r");
    const Clock::time_point sent = Clock::now();
    ASSERT_EQ(::write(fd, "CLR\rMEM\r", 8), 8);
    EXPECT_EQ(ReadUntil(fd, "MEM,0\r"), "CLR,OK\rMEM,0\r");
    EXPECT_GE(Clock::now() - sent, 300ms);
    ::close(fd);
}

}  // namespace
}  // namespace quorvane
