#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/Commands.h"
#include "link/Fields.h"
#include "link/PortNaming.h"

using namespace quorvane;

TEST(SplitFields, KeepsEveryEmptyPiece) {
    EXPECT_EQ(SplitFields("a,,b,", ','), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(SplitFields("", ','), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitFields("x\r\ny\r\n", "\r\n"), (std::vector<std::string>{"x", "y", ""}));
    EXPECT_EQ(SplitFields("\x82,\xff", ',').at(1), "\xff");
}

TEST(TextHelpers, RemoveReplaceTrim) {
    EXPECT_EQ(RemoveAll("KEYOK154OK", "OK"), "KEY154");
    EXPECT_EQ(ReplaceAll("a b c", " ", "--"), "a--b--c");
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(CommandTexts, MatchTheWireFormat) {
    EXPECT_EQ(KeyCommand('>', 'P'), "KEY,>,P");
    EXPECT_EQ(TuneCommand("01625500", "NFM"), "QSH,01625500,0,NFM,0,.,.,.,.,.");
    EXPECT_EQ(TuneCommand("01625500", ""), "QSH,01625500,0,,0,.,.,.,.,.");
    EXPECT_EQ(SystemRequest("-1"), "SIN,-1");
}

TEST(PortNaming, UsesTheComLinkInTheAppFolderWhenItExists) {
    const auto dir = std::filesystem::temp_directory_path() / "quorvane-port-naming";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    EXPECT_EQ(PortDevicePath(1, dir.string()), "/dev/ttyUSB0");
    EXPECT_EQ(PortDevicePath(10, dir.string()), "/dev/ttyUSB9");
    // A dangling link still names the port: the device may come back.
    std::filesystem::create_symlink("/nonexistent/pts/77", dir / "com3");
    EXPECT_EQ(PortDevicePath(3, dir.string()), (dir / "com3").string());
    std::filesystem::remove_all(dir);
}
