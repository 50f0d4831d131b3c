// Runs the quorvane-sim program itself (built next to this test program).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

fs::path ProgramPath() {
    std::error_code failure;
    const fs::path self = fs::read_symlink("/proc/self/exe", failure);
    return self.parent_path().parent_path() / "sim" / "quorvane-sim";
}

// Reads from fd until the text holds a line feed (unless to_end), fd closes
// (*closed set) or the deadline passes.
std::string ReadUntil(int fd, bool to_end, Clock::duration timeout, bool* closed = nullptr) {
    const Clock::time_point deadline = Clock::now() + timeout;
    std::string text;
    while (to_end || text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[256];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            if (closed) *closed = true;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

class Program {
public:
    explicit Program(std::vector<std::string> args) {
        args.insert(args.begin(), ProgramPath().string());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, out[1], 2);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        out_ = out[0];
    }
    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }
    std::string FirstLine() { return ReadUntil(out_, false, 5s); }
    // Waits for the program to end (its output closes), then its exit status.
    int Finish(Clock::duration timeout = 5s) {
        bool closed = false;
        output_ += ReadUntil(out_, true, timeout, &closed);
        int status = 0;
        // Its output closes as the program exits, so waiting now is short.
        if (!closed || ::waitpid(pid_, &status, 0) != pid_) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    void Signal(int number) { ::kill(pid_, number); }
    const std::string& Output() const { return output_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

class SimProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(ProgramPath())) GTEST_SKIP() << "quorvane-sim is not built at " << ProgramPath();
        dir_ = fs::path(::testing::TempDir()) / ("sim_program_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(SimProgram, LinksThePtyAnswersAndCleansUpOnSigterm) {
    const std::string link = (dir_ / "com1").string();
    const std::string log = (dir_ / "commands.log").string();
    Program sim({"--demo", "--link", link, "--log", log});
    const std::string first = sim.FirstLine();
    ASSERT_EQ(first.rfind("PTY /dev/pts/", 0), 0u) << first;
    const std::string slave = first.substr(4, first.find('\n') - 4);
    EXPECT_EQ(fs::read_symlink(link).string(), slave);

    const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    ASSERT_EQ(::write(fd, "GID\r", 4), 4);
    std::string reply;
    const Clock::time_point deadline = Clock::now() + 3s;
    while (reply.find('\r') == std::string::npos && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        char buffer[128];
        if (::poll(&p, 1, 100) > 0) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) reply.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    EXPECT_EQ(reply.rfind("GID,", 0), 0u) << reply;

    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Finish(), 0) << sim.Output();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    std::ifstream logged(log);
    std::string line;
    std::getline(logged, line);
    EXPECT_EQ(line.substr(line.find(' ')), " GID");
}

TEST_F(SimProgram, ExitsByItselfAfterTheGivenTime) {
    const fs::path scenario = dir_ / "radio.txt";
    std::ofstream(scenario) << "step 1000 idle line1=\"Test\"\n";
    Program sim({"--scenario", scenario.string(), "--exit-after", "200"});
    EXPECT_EQ(sim.FirstLine().rfind("PTY ", 0), 0u);
    EXPECT_EQ(sim.Finish(), 0);
}

TEST_F(SimProgram, ReportsABadScenarioAndExitsWithStatusTwo) {
    const fs::path scenario = dir_ / "bad.txt";
    std::ofstream(scenario) << "step 1000 idle\nstep fast hit\n";
    Program sim({"--scenario", scenario.string()});
    EXPECT_EQ(sim.Finish(), 2);
    EXPECT_NE(sim.Output().find("line 2:"), std::string::npos) << sim.Output();
}

}  // namespace
}  // namespace quorvane
