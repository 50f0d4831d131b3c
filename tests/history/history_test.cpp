// The history's rules: rows from hits and from log lines, times, CSV.
#include <gtest/gtest.h>

#include "history/Csv.h"
#include "history/HistoryHit.h"
#include "history/LogImport.h"

namespace quorvane {
namespace {

TEST(HistoryRules, TimesAreIso8601LocalAndUtc) {
    struct Case { Instant at; const char* local; const char* utc; int hour; };
    const Case cases[] = {
        {{1764859873000, 3600}, "2025-12-04T15:51:13+01:00", "2025-12-04T14:51:13Z", 15},
        {{1764859873999, -5 * 3600 - 1800}, "2025-12-04T09:21:13-05:30", "2025-12-04T14:51:13Z", 9},
        {{951782400000, 0}, "2000-02-29T00:00:00+00:00", "2000-02-29T00:00:00Z", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocalIsoText(c.at), c.local);
        EXPECT_EQ(UtcIsoText(c.at), c.utc);
        HistoryHit hit;
        hit.Start = c.at;
        hit.End = {c.at.EpochMs + 27500, c.at.UtcOffsetSeconds};
        EXPECT_EQ(hit.StartHour(), c.hour);
        EXPECT_DOUBLE_EQ(hit.DurationSeconds(), 27.5);
    }
}

TEST(HistoryRules, AHitBecomesARowKeyedByItsLogLine) {
    HitEnded ended;
    ended.Names = {"Metro", "Police", "Dispatch", " 855.2375", "CODE", "12345", "2:51:13 PM", "2:51:40 PM"};
    ended.RawFrequency = "08552375";
    EXPECT_FALSE(HistoryHitFromEnded(ended, {}, {}, "").has_value());  // skipped: not logged, not kept
    ended.LogLine = "Metro / Police\tDispatch\t 855.2375\t12345\t2:51:13 PM\t2:51:40 PM\t12-04-2026\r\n";
    ended.TrunkedHit = true;
    const HistoryHit trunked = *HistoryHitFromEnded(ended, {1000, 0}, {3000, 0}, "a.wav");
    EXPECT_EQ(trunked.Names, (HitNames{"Metro", "Police", "Dispatch", " 855.2375", "08552375", "12345"}));
    EXPECT_EQ(trunked.RecordingFile, "a.wav");
    ended.TrunkedHit = false;
    EXPECT_EQ(HistoryHitFromEnded(ended, {}, {}, "")->Names.CodeOrId, "CODE");

    // The same line read back from the run's log file is the same hit.
    const LogFileStamp stamp = *ParseLogFileName("12-04-2026_2-51-00-PM.txt");
    const LogFileHits file = ParseLogFile(*ended.LogLine, stamp);
    ASSERT_EQ(file.Hits.size(), 1u);
    EXPECT_EQ(file.Hits[0].LineKey, trunked.LineKey);
}

TEST(HistoryRules, LogFileNamesAndLines) {
    EXPECT_FALSE(ParseLogFileName("hit_intel.txt"));
    EXPECT_FALSE(ParseLogFileName("12-04-2026_13-51-00-PM.txt"));
    const LogFileStamp stamp = *ParseLogFileName("12-31-2026_11-58-02-PM.txt");
    EXPECT_EQ(stamp.Launch, (LocalTime{2026, 12, 31, 23 * 3600 + 58 * 60 + 2}));
    EXPECT_EQ(stamp.LaunchTime, "11-58-02-PM");
    // Newest first; the day is counted on past midnight, and an end before
    // its start is on the next day.
    const std::string log =
        "County / \tTac 2\t 154.4300\t\t12:00:30 AM\t12:00:35 AM\t12-31-2026\r\n"
        "stray text\r\n"
        "A / B / C\tCh, \"1\"\t 460.0250\t67.0\t11:59:50 PM\t12:00:10 AM\t12-31-2026\r\n"
        "\r\n";
    const LogFileHits file = ParseLogFile(log, stamp);
    EXPECT_EQ(file.Unreadable, 1u);
    ASSERT_EQ(file.Hits.size(), 2u);
    EXPECT_EQ(file.Hits[0].Names, (HitNames{"A", "B / C", "Ch, \"1\"", " 460.0250", "", "67.0"}));
    EXPECT_EQ(file.Hits[0].Start, (LocalTime{2026, 12, 31, 86390}));
    EXPECT_EQ(file.Hits[0].End, (LocalTime{2027, 1, 1, 10}));
    EXPECT_EQ(file.Hits[1].Names.Group, "");
    EXPECT_EQ(file.Hits[1].Start, (LocalTime{2027, 1, 1, 30}));
}

}  // namespace
}  // namespace quorvane
