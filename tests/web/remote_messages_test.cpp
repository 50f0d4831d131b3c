#include "web/RemoteMessages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>

#include "input/KeyTable.h"
#include "web/RemoteFeed.h"

namespace quorvane {
namespace {

using Json = nlohmann::json;

using Kind = PageRequest::Kind;

TEST(RemoteMessages, DisplayFramesGoThroughTheScreenGlyphsAndReadBack) {
    const DisplayFrame frame = MakeDisplayFrame("  Police\x10 Disp  \r\nCH 12 \x82 \x81\xe9\r\n", " 154.4750",
                                                MakeIconRows("11", "1"), true);
    EXPECT_EQ(frame.line1, "  Police\u25b6 Disp  ");
    EXPECT_EQ(frame.line2, "CH 12 \u201a \u2591\u00e9");
    EXPECT_EQ(frame.icons1.substr(0, 6), "SYS 1 ");
    EXPECT_EQ(frame.icons2.substr(0, 6), "GRP   ");
    const DisplayFrame odd[] = {
        frame,
        MakeDisplayFrame("", "", {}, false),
        MakeDisplayFrame("one line only", "\"quoted\" \\", {}, false),
        MakeDisplayFrame("a\nb\nc", "", {}, true),
    };
    for (const DisplayFrame& f : odd) EXPECT_EQ(ReadDisplayMessage(DisplayMessage(f)), f) << DisplayMessage(f);
    EXPECT_EQ(odd[3].line2, "b");
    for (const char* bad : {"", "{", "[]", R"({"type":"status"})", R"({"type":"display","line1":"a"})",
                            R"({"type":"display","line1":1,"line2":"","freq":"","icons1":"","icons2":"","hit":false})"}) {
        EXPECT_EQ(ReadDisplayMessage(bad), std::nullopt) << bad;
    }
}

TEST(RemoteMessages, PageMessagesAcceptedAndRefused) {
    const struct {
        std::string json;
        RemoteRole role;
        PageRequest expected;
    } cases[] = {
        {R"({"type":"key","key":"key_scan"})", RemoteRole::Control, {Kind::Key, "key_scan", false, ""}},
        {R"({"key":"key_g1","type":"key","extra":[1]})", RemoteRole::Control, {Kind::Key, "key_g1", false, ""}},
        {R"({"type":"key","key":"key_hold_bar"})", RemoteRole::Control, {Kind::Key, "key_hold_bar", false, ""}},
        {R"({"type":"key","key":"key_scan"})", RemoteRole::View, {Kind::Refused, "key_scan", false, "View only"}},
        {R"({"type":"key","key":"key_9x"})", RemoteRole::Control, {Kind::Refused, "key_9x", false, "Unknown key"}},
        {R"({"type":"key","key":"KEY_SCAN"})", RemoteRole::Control, {Kind::Refused, "KEY_SCAN", false, "Unknown key"}},
        {R"({"type":"key","key":7})", RemoteRole::Control, {Kind::Refused, "", false, "Unknown key"}},
        {R"({"type":"key"})", RemoteRole::Control, {Kind::Refused, "", false, "Unknown key"}},
        {R"({"type":"listen","on":true})", RemoteRole::View, {Kind::Listen, "", true, ""}},
        {R"({"type":"listen","on":"yes"})", RemoteRole::View, {Kind::Refused, "", false, "Unknown message"}},
        {R"({"type":"reboot"})", RemoteRole::Control, {Kind::Refused, "", false, "Unknown message"}},
        {R"("key_scan")", RemoteRole::Control, {Kind::Refused, "", false, "Not a message"}},
        {"{\"type\":\"key\",\"key\":\"key_scan\"", RemoteRole::Control, {Kind::Refused, "", false, "Not a message"}},
        {std::string(5000, '['), RemoteRole::Control, {Kind::Refused, "", false, "Not a message"}},
        {R"({"type":"key","key":"key_scan","pad":")" + std::string(1000, 'x') + "\"}", RemoteRole::Control,
         {Kind::Refused, "", false, "Not a message"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadPageMessage(c.json, c.role), c.expected) << c.json.substr(0, 80);
    EXPECT_EQ(RefusedMessage(ReadPageMessage(R"({"type":"key","key":"k\u00e9"})", RemoteRole::Control)),
              R"({"type":"refused","key":"k)" "\u00e9" R"(","reason":"Unknown key"})");
}

TEST(RemoteFeed, SendsOnlyWhatChangedAndEachNewLogRow) {
    RemoteFeed feed;
    const DisplayFrame frame = MakeDisplayFrame("SCAN\r\n\r\n", "", {}, false);
    EXPECT_TRUE(feed.Display(frame));
    EXPECT_FALSE(feed.Display(frame));
    EXPECT_FALSE(feed.Status(""));
    EXPECT_EQ(feed.Status("No reply"), R"({"type":"status","text":"No reply"})");
    EXPECT_EQ(feed.Latches(true, false), R"({"type":"latches","held":["key_f"]})");
    EXPECT_FALSE(feed.Latches(true, false));

    LogText log;
    const auto add = [&](const std::string& line) { return feed.LogAdded(log.Prepend(line)); };
    EXPECT_EQ(add("Sys / A\tCh\t 154.4750\t\t10:00:00\t10:00:05\t12/04/2026\r\n"),
              R"({"type":"hit","row":["Sys / A","Ch"," 154.4750","","10:00:00","10:00:05","12/04/2026"],"alert":false})");
    EXPECT_EQ(add("stray\r\n"), std::nullopt);  // no row in the window's grid either
    EXPECT_EQ(add("Police\x10 / B\tCh\r\n"),
              R"({"type":"hit","row":["Police)" "\u25b6" R"( / B","Ch","","","","",""],"alert":false})");

    std::vector<std::string> greeting = feed.Greeting(RemoteRole::View);
    ASSERT_EQ(greeting.size(), 5u);
    EXPECT_EQ(greeting[0], R"({"type":"hello","version":1,"role":"view"})");
    EXPECT_EQ(ReadDisplayMessage(greeting[1]), frame);
    const std::string whole = feed.Log(log.Rows());
    EXPECT_EQ(greeting[4], whole);
    EXPECT_TRUE(whole.starts_with(R"({"type":"log","columns":["System / Group","Channel",)")) << whole;
    EXPECT_EQ(Json::parse(whole)["rows"],
              Json::parse(R"([["Police\u25b6 / B","Ch","","","","",""],)"
                          R"(["Sys / A","Ch"," 154.4750","","10:00:00","10:00:05","12/04/2026"]])"));
    const std::string empty = feed.LogCleared();
    EXPECT_EQ(Json::parse(empty)["rows"], Json::array());
    EXPECT_EQ(feed.Greeting(RemoteRole::View)[4], empty);
}

TEST(RemoteFeed, AlertRowsAreMarkedAsTheWindowMarksThem) {
    RemoteFeed feed;
    bool fireOnly = true;
    feed.SetAlertMarker([&](const LogRow& row) { return !fireOnly || row.Fields[0].starts_with("Fire"); });
    LogText log;
    std::vector<bool> marked;
    for (const char* line : {"Sys / A\tCh\r\n", "Fire / B\tCh\r\n", "Sys / A\tCh\r\n"}) {
        marked.push_back(Json::parse(*feed.LogAdded(log.Prepend(line)))["alert"]);
    }
    EXPECT_EQ(marked, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(Json::parse(feed.Greeting(RemoteRole::View).back())["alerts"], Json::array({1}));
    EXPECT_EQ(feed.Remark(), std::nullopt);  // the same marks: nothing to send
    // The alert list changed: the same rows, marked otherwise, come again whole.
    fireOnly = false;
    const auto again = feed.Remark();
    ASSERT_TRUE(again);
    EXPECT_EQ(Json::parse(*again)["alerts"], Json::array({0, 1, 2}));
    EXPECT_EQ(Json::parse(*again)["rows"].size(), 3u);
    fireOnly = true;
    EXPECT_EQ(Json::parse(feed.Log(log.Rows()))["alerts"], Json::array({1}));
    EXPECT_EQ(SoundMessage(false, "No sound input on the computer"),
              R"({"type":"sound","on":false,"reason":"No sound input on the computer"})");
}

// The page offers every key of the window's key table, and nothing else.
TEST(RemotePage, HasAButtonForEveryKeyOfTheKeyTable) {
    std::ifstream file(QUORVANE_REMOTE_PAGE);
    ASSERT_TRUE(file) << QUORVANE_REMOTE_PAGE;
    std::stringstream page;
    page << file.rdbuf();
    const std::string html = page.str();
    std::set<std::string> onPage;
    const std::regex button(R"re(data-key="([a-z0-9_]+)")re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), button); it != std::sregex_iterator(); ++it) {
        onPage.insert((*it)[1]);
    }
    std::set<std::string> inTable;
    for (const KeyRow& row : KeyRows()) inTable.insert(row.objectName);
    EXPECT_EQ(onPage, inTable);
}

}  // namespace
}  // namespace quorvane
