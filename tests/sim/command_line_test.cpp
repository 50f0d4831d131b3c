#include "CommandLine.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CommandLog.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

TEST(SimCommandLine, ReadsEveryOption) {
    std::string error = "stale";
    const SimCommandLine o = ParseSimCommandLine({"--scenario", "s.txt", "--link", "/tmp/x/com1", "--log", "l.txt",
                                                  "--baud", "9600", "--reply-delay", "40", "--exit-after", "5000"},
                                                 &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(o.scenario_path, "s.txt");
    EXPECT_FALSE(o.demo);
    EXPECT_EQ(o.link_path, "/tmp/x/com1");
    EXPECT_EQ(o.log_path, "l.txt");
    EXPECT_EQ(o.baud, 9600);
    EXPECT_EQ(o.reply_delay_ms, 40);
    EXPECT_EQ(o.exit_after_ms, 5000);

    const SimCommandLine demo = ParseSimCommandLine({"--demo"}, &error);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(demo.demo);
    EXPECT_EQ(demo.baud, 0);
    EXPECT_EQ(demo.exit_after_ms, -1);
}

TEST(SimCommandLine, RejectsBadArguments) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--demo", "--scenario", "s.txt"},
        {"--scenario"},
        {"--scenario", ""},
        {"--demo", "--baud"},
        {"--demo", "--baud", "fast"},
        {"--demo", "--reply-delay", "-3"},
        {"--demo", "--exit-after", "99999999999"},
        {"--demo", "--verbose"},
        {"demo"},
    };
    for (const auto& args : bad) {
        std::string error;
        ParseSimCommandLine(args, &error);
        EXPECT_FALSE(error.empty()) << ::testing::PrintToString(args);
    }
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) / ("sim_link_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(LinkTest, PlacesReplacesAndRemovesTheLink) {
    const std::string link = (dir_ / "com1").string();
    std::string error;
    ASSERT_TRUE(PlaceLink(link, "/dev/pts/old", &error)) << error;
    ASSERT_TRUE(PlaceLink(link, "/dev/pts/new", &error)) << error;
    EXPECT_EQ(fs::read_symlink(link), "/dev/pts/new");
    RemoveLink(link, "/dev/pts/old");  // someone else's link now: left alone
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    RemoveLink(link, "/dev/pts/new");
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 0);
}

TEST_F(LinkTest, NeverReplacesAFileThatIsNotALink) {
    const std::string file = (dir_ / "com1").string();
    std::ofstream(file) << "settings";
    std::string error;
    EXPECT_FALSE(PlaceLink(file, "/dev/pts/3", &error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(file));
    EXPECT_FALSE(PlaceLink((dir_ / "missing" / "com1").string(), "/dev/pts/3", &error));
    EXPECT_NE(error.find("cannot link"), std::string::npos);
}

TEST(CommandLogLine, EscapesBytesOutsidePrintableAscii) {
    EXPECT_EQ(CommandLogLine(0, "STS"), "0 STS\n");
    EXPECT_EQ(CommandLogLine(1234, "KEY,>,P"), "1234 KEY,>,P\n");
    EXPECT_EQ(CommandLogLine(7, std::string("A\x82\x1F\x7F\x10 ~\0", 8)), "7 A\\x82\\x1F\\x7F\\x10 ~\\x00\n");
}

}  // namespace
}  // namespace quorvane
