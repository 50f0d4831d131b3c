#include "alerts/AlertList.h"

#include <gtest/gtest.h>

#include "alerts/AlertLatch.h"
#include "alerts/AlertText.h"

namespace quorvane {
namespace {

LiveHit Hit(std::string system, std::string group, std::string channel, std::string digits = "01544300",
             std::string talkgroup = "") {
    LiveHit hit{std::move(system), std::move(group), std::move(channel), std::move(digits), "", std::move(talkgroup)};
    hit.TrunkedHit = !hit.TalkgroupId.empty();
    return hit;
}

TEST(AlertList, MatchesFrequenciesTalkgroupsAndTextAndSkipsCommentsAndOddBytes) {
    const LiveHit fire = Hit("County Fire", "Fire", "Dispatch 1");
    const LiveHit trunk = Hit("Metro Trunk", "Police", "PD Disp", "08561125", "12345");
    const struct {
        std::string file;
        size_t entries;
        LiveHit hit;
        bool matches;
    } cases[] = {
        {"154.43", 1, fire, true},
        {"154.4300\r\n", 1, fire, true},
        {"0154.430", 1, fire, true},
        {"154.43004", 1, fire, true},  // finer than 100 Hz: rounded
        {"154.43005", 1, fire, false},
        {"154.431", 1, fire, false},
        {"154.43", 1, Hit("A", "B", "C", "00000000"), false},  // no frequency reported
        {"154.43", 1, Hit("A", "B", "C", "OK015443"), false},  // garbled digits
        {"856.1125", 1, trunk, true},
        {"12345", 1, trunk, true},
        {"012345", 1, trunk, true},
        {"1234", 1, trunk, false},
        {"12345", 1, fire, false},
        {"1544300", 1, fire, false},  // digits only are a talkgroup, never a frequency
        {"dispatch", 1, fire, true},
        {"  FIRE\t", 1, Hit("Metro", "fire ems", "Tac"), true},
        {"metro trunk", 1, trunk, true},
        {"Police / PD", 1, trunk, false},  // each name on its own
        {"154.43.1", 1, fire, false},       // two points: text
        {"# Dispatch\n\n   \r\n#154.43\n12345", 1, fire, false},
        {"x\ny\rDispatch", 3, fire, true},  // LF, a lone CR, no final line end
        {"caf\xc9", 1, Hit("Caf\xe9", "", ""), false},  // only ASCII letters are folded
        {"\x82\x10", 1, Hit("S", "", "Tac \x82\x10 2"), true},
        {std::string("\0\xff\x81\n\0", 5), 2, fire, false},
        {"99999999999.5\n.\n-5", 2, fire, false},  // too many MHz is dropped; "." and "-5" are text
        {"", 0, fire, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.file));
        const AlertList list = AlertList::Parse(c.file);
        EXPECT_EQ(list.Entries().size(), c.entries);
        EXPECT_EQ(list.Matches(SubjectOfHit(c.hit)), c.matches);
    }
    // Odd bytes all the way, NUL included: no crash, text entries.
    std::string odd;
    for (int b = 0; b < 256; ++b) odd += static_cast<char>(b);
    EXPECT_FALSE(AlertList::Parse(odd + odd).Matches(SubjectOfHit(fire)));
}

TEST(AlertList, LogRowsMatchByNamesFrequencyAndTalkgroup) {
    const AlertList list = AlertList::Parse("154.43\n2417\nharbor");
    const std::pair<const char*, bool> rows[] = {
        {"A / B\tC\t 154.4300\t 023\t1\t2\t3\r\n", true},   {"Metro / Fire\tFD\t 856.7375\t2417\t1\t2\t3\r\n", true},
        {"Harbor / Port\tOps\t 156.6000\t\t1\t2\t3\r\n", true}, {"X / Y\tZ\t 156.6000\t23\t1\t2\t3\r\n", false}};
    for (const auto& [line, marked] : rows) EXPECT_EQ(list.Matches(SubjectOfLogRow(LogRowOf(line))), marked) << line;
}

TEST(AlertLatch, AlertsOncePerHitWhenItsNamesFirstMatch) {
    const AlertList list = AlertList::Parse("police");
    AlertLatch latch;
    const auto tick = [&](TickAction action) {
        TickOutcome outcome;
        outcome.Actions.push_back(std::move(action));
        return latch.Follow(outcome, list).has_value();
    };
    const LiveHit police = Hit("Metro", "Police", "North", "08561125", "1");
    EXPECT_TRUE(tick(HitStarted{police}));
    EXPECT_FALSE(tick(HitRenamed{police}));  // still the same hit
    EXPECT_FALSE(tick(HitEnded{}));
    EXPECT_FALSE(tick(HitStarted{Hit("Metro", "", "North")}));
    EXPECT_TRUE(tick(HitRenamed{police}));  // the names came later
    EXPECT_FALSE(tick(HitRenamed{police}));
    LiveHit skipped = police;
    skipped.Skipped = true;
    EXPECT_FALSE(tick(HitStarted{skipped}));
    EXPECT_TRUE(tick(HitStarted{police}));  // the next hit alerts again
}

TEST(AlertText, NamesTheChannelAndTheFrequencyOrTalkgroup) {
    LiveHit conventional = Hit("County  ", "Fire", " Dispatch 1 ");
    conventional.FreqShown = " 154.4300";
    const AlertText text = DescribeAlert(conventional);
    EXPECT_EQ(text.Summary, "Dispatch 1");
    EXPECT_EQ(text.Body, "County / Fire\nDispatch 1\n154.4300 MHz");
    EXPECT_EQ(text.Line, "Alert: Dispatch 1, 154.4300 MHz");
    const AlertText trunked = DescribeAlert(Hit("Metro", "", "", "08561125", "12345"));
    EXPECT_EQ(trunked.Summary, "Metro");
    EXPECT_EQ(trunked.Body, "Metro\nID 12345");
}

TEST(AlertList, ReadsWebHooksAndTonePagesApartFromTheWatchedEntries) {
    const AlertList list = AlertList::Parse(
        "Fire\r\nNOTIFY= https://ntfy.sh/quorvane-test \r\nnotify=\r\n"
        "tones=349.0,433.7 Station 5\r\ntones = 600.9,707.3\r\ntones=349,9999 Too high\r\n"
        "tones=349.0 433.7 Station 6\nnotifyme=x\n");
    EXPECT_EQ(list.Hooks(), std::vector<std::string>{"https://ntfy.sh/quorvane-test"});
    EXPECT_EQ(list.Tones(), (std::vector<ToneWatch>{{349.0, 433.7, "Station 5"}}));
    // "tones = ..." is no tones line: its name has a blank; it is text to find.
    ASSERT_EQ(list.Entries().size(), 3u);
    EXPECT_EQ(list.Entries()[1].Text, "tones = 600.9,707.3");
    EXPECT_EQ(list.Entries()[2].Text, "notifyme=x");
    EXPECT_EQ(list.Notices(),
              (std::vector<std::string>{
                  "alerts.txt line 6: tones \"349,9999 Too high\" is not two tones in Hz (e.g. tones=349.0,433.7 "
                  "Station 5); ignored",
                  "alerts.txt line 7: tones \"349.0 433.7 Station 6\" is not two tones in Hz (e.g. "
                  "tones=349.0,433.7 Station 5); ignored"}));
}

TEST(AlertText, FactsForHooksAreUtf8WithFrequencyTalkgroupAndReason) {
    LiveHit hit = Hit("Caf\xE9", "Fire", "Dispatch", "01544300");
    const AlertFacts facts = FactsOfAlert(DescribeTonePage(hit, {349.0, 433.7, "Station 5"}), hit, "tones Station 5",
                                          "2026-12-06T14:03:11+01:00");
    EXPECT_EQ(facts.Title, "Station 5");
    EXPECT_EQ(facts.Message, "Tones 349.0 Hz, 433.7 Hz\nCaf\u00e9 / Fire\nDispatch");
    EXPECT_EQ(facts.System, "Caf\u00e9");
    EXPECT_EQ(facts.Frequency, "154.4300");
    EXPECT_EQ(facts.Talkgroup, "");
    const LiveHit trunk = Hit("Metro", "Police", "North", "08561125", "0123");
    EXPECT_EQ(FactsOfAlert(DescribeAlert(trunk), trunk, "watched channel", "t").Talkgroup, "0123");
}

}  // namespace
}  // namespace quorvane
