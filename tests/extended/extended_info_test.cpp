#include "extended/ExtendedInfo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "monitor/LogText.h"

namespace quorvane {
namespace {

class FakeFiles : public AppFiles {
public:
    std::map<std::string, std::string> Readable;
    std::set<std::string> Unreadable;

    bool FileExists(const std::string& path) const override {
        return Readable.count(path) > 0 || Unreadable.count(path) > 0;
    }
    std::optional<std::string> ReadWholeFile(const std::string& path) const override {
        const auto it = Readable.find(path);
        if (it == Readable.end()) return std::nullopt;
        return it->second;
    }
};

const std::string kApp = "app";
std::string InApp(const std::string& name) { return JoinPath(kApp, name); }

TEST(ExtendedInfo, KeyAndCaptionFromTheFrequencyOrTheTrunkedSiteAndId) {
    const ExtendedInfoSource conventional{"", " 154.4150", "County", ""};
    EXPECT_EQ(ExtendedInfoKey(conventional), "154_4150");
    EXPECT_EQ(ExtendedInfoCaption(conventional), " 154.4150 Extended Info");
    // Inner blanks and '/' mended, outer blanks dropped.
    const ExtendedInfoSource trunked{" Metro Trunk ", " 851.0125", "  Metro  Trunk/P  ", "12:34"};
    EXPECT_EQ(ExtendedInfoKey(trunked), "Metro--Trunk-P_12-34");
    EXPECT_EQ(ExtendedInfoCaption(trunked), "Metro Trunk 12:34 Extended Info");
}

TEST(ExtendedInfo, PictureAndNotesFallBackInOrder) {
    const ExtendedInfoSource source{"", " 154.4150", "", ""};
    FakeFiles files;
    ExtendedInfoView view = ExtendedInfoShow(source, kApp, files);
    EXPECT_EQ(view.PicturePath, InApp("extended_not_avilable.gif"));
    EXPECT_EQ(view.Notes, "Not Avilable");

    for (const char* picture : {"154_4150.jpg", "154_4150.png", "154_4150.gif"}) {  // each one before the last
        files.Readable[InApp(picture)] = "";
        EXPECT_EQ(ExtendedInfoShow(source, kApp, files).PicturePath, InApp(picture));
    }

    files.Readable[InApp("154_4150.txt")] = "Water dept\r\n\x82 repeater";
    EXPECT_EQ(ExtendedInfoShow(source, kApp, files).Notes, "Water dept\r\n\x82 repeater");
    files.Readable.erase(InApp("154_4150.txt"));
    files.Unreadable.insert(InApp("154_4150.txt"));
    EXPECT_FALSE(ExtendedInfoShow(source, kApp, files).Notes.has_value());
}

TEST(LoadFileToTB, ReplacesAppendsOrLeavesTheTextAlone) {
    FakeFiles files;
    files.Readable["n.txt"] = "new";
    files.Unreadable.insert("bad.txt");
    std::string box = "old";
    EXPECT_FALSE(LoadFileToTB(box, "missing.txt", files));
    EXPECT_FALSE(LoadFileToTB(box, "bad.txt", files));
    EXPECT_EQ(box, "old");
    EXPECT_TRUE(LoadFileToTB(box, "n.txt", files, true));
    EXPECT_EQ(box, "oldnew");
    EXPECT_TRUE(LoadFileToTB(box, "n.txt", files));
    EXPECT_EQ(box, "new");
}

TEST(LocalAppFiles, ReadsWholeFilesAsBytes) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("qv_extended_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "k.txt").string();
    const std::string bytes("a\r\n\0\xff", 5);
    std::ofstream(path, std::ios::binary) << bytes;
    const LocalAppFiles files;
    EXPECT_TRUE(files.FileExists(path));
    EXPECT_EQ(files.ReadWholeFile(path), bytes);
    EXPECT_FALSE(files.FileExists(folder.string()));
    EXPECT_FALSE(files.ReadWholeFile((folder / "none").string()).has_value());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvane
