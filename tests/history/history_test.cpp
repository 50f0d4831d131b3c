// The history's rules: rows from hits and from log lines, times, CSV.
#include <gtest/gtest.h>

#include <string>

#include "base/Csv.h"
#include "history/HistoryCsv.h"
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

TEST(HistoryRules, CalendarDaysCountAcrossFebruaryAndCenturies) {
    struct Case { int year, month, day; std::int64_t days; };
    const Case cases[] = {
        {1970, 1, 1, 0},        {1969, 12, 31, -1},     {2024, 1, 31, 19753},   {2024, 2, 1, 19754},
        {2024, 2, 29, 19782},   {2024, 3, 1, 19783},    {2023, 2, 28, 19416},   {2000, 2, 29, 11016},
        {2100, 2, 28, 47540},   {2100, 3, 1, 47541},    {1900, 2, 28, -25509},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DaysFromCivil(c.year, c.month, c.day), c.days) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(CivilFromDays(c.days, 7), (LocalTime{c.year, c.month, c.day, 7}));
    }
    const std::pair<std::pair<int, int>, int> months[] = {
        {{2026, 2}, 28}, {{2028, 2}, 29}, {{2000, 2}, 29}, {{2100, 2}, 28}, {{2026, 4}, 30}, {{2026, 12}, 31}, {{2026, 13}, 0}};
    for (const auto& [month, days] : months) EXPECT_EQ(DaysInMonth(month.first, month.second), days);
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
    EXPECT_EQ(trunked.Occurrence, 0);  // numbered after the run's lines so far when stored
    EXPECT_FALSE(trunked.SignalPeak.has_value());
    ended.TrunkedHit = false;
    ended.SignalPeak = 201;
    ended.SignalAverage = 143;
    const HistoryHit conventional = *HistoryHitFromEnded(ended, {}, {}, "");
    EXPECT_EQ(conventional.Names.CodeOrId, "CODE");
    EXPECT_EQ(std::pair(conventional.SignalPeak, conventional.SignalAverage), std::pair(std::optional(201), std::optional(143)));

    // The same line read back from the run's log file is the same hit.
    const LogFileStamp stamp = *ParseLogFileName("12-04-2026_2-51-00-PM.txt");
    const LogFileHits file = ParseLogFile(*ended.LogLine, stamp);
    ASSERT_EQ(file.Hits.size(), 1u);
    EXPECT_EQ(file.Hits[0].LineKey, trunked.LineKey);
}

TEST(HistoryRules, LogFileNamesAndLines) {
    struct NameCase { const char* name; const char* problem; };
    const NameCase refused[] = {
        {"hit_intel.txt", ""},
        {"12-04-2026 notes.txt", ""},
        {"12-04-2026_13-51-00-PM.txt", "13-51-00-PM is not a time of day"},
        {"02-31-2026_1-00-00-PM.txt", "02-31-2026 is not a date"},
        {"02-29-2026_1-00-00-PM.txt", "02-29-2026 is not a date"},
        {"13-01-2026_1-00-00-PM.txt", "13-01-2026 is not a date"},
    };
    for (const NameCase& c : refused) {
        std::string problem;
        EXPECT_FALSE(ParseLogFileName(c.name, &problem)) << c.name;
        EXPECT_EQ(problem, c.problem) << c.name;
    }
    EXPECT_EQ(ParseLogFileName("02-29-2028_1-00-00-PM.txt")->Launch, (LocalTime{2028, 2, 29, 13 * 3600}));
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
    // A line whose date cannot be is not a hit line.
    EXPECT_EQ(ParseLogFile("A / B\tC\t 1.0000\t\t1:00:00 AM\t1:00:05 AM\t02-30-2026\r\n", stamp).Unreadable, 1u);
}

// The log lines of one run, given oldest first, as the run's file holds them
// (newest first). Each is "start end" in the log's time format.
std::string LogOf(const std::vector<std::pair<std::string, std::string>>& hits, const std::string& date) {
    std::string log;
    int channel = 0;
    for (const auto& [start, end] : hits) {
        log.insert(0, "County / Fire\tTac " + std::to_string(++channel) + "\t 154.4300\t\t" + start + "\t" + end +
                          "\t" + date + "\r\n");
    }
    return log;
}

TEST(HistoryRules, ImportCountsDaysFromTheRunsStartAndNotAtAClockChange) {
    struct Expected { LocalTime start, end; bool startAfterClockBack, endAfterClockBack; };
    struct Case {
        const char* what;
        const char* file;
        std::vector<std::pair<std::string, std::string>> hits;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"every hit past midnight is on the next day, not one day more each",
         "12-31-2026_11-58-00-PM.txt",
         {{"11:59:00 PM", "11:59:05 PM"}, {"12:00:30 AM", "12:00:35 AM"}, {"12:01:00 AM", "12:01:04 AM"},
          {"3:05:00 AM", "3:05:09 AM"}},
         {{{2026, 12, 31, 86340}, {2026, 12, 31, 86345}, false, false},
          {{2027, 1, 1, 30}, {2027, 1, 1, 35}, false, false},
          {{2027, 1, 1, 60}, {2027, 1, 1, 64}, false, false},
          {{2027, 1, 1, 11100}, {2027, 1, 1, 11109}, false, false}}},
        {"two hits in one second, one shorter than a second",
         "06-10-2026_9-00-00-AM.txt",
         {{"9:15:02 AM", "9:15:02 AM"}, {"9:15:02 AM", "9:15:03 AM"}},
         {{{2026, 6, 10, 33302}, {2026, 6, 10, 33302}, false, false},
          {{2026, 6, 10, 33302}, {2026, 6, 10, 33303}, false, false}}},
        {"summer time ends: 1:50 AM, then 1:10 AM an hour later, the same day",
         "11-01-2026_12-30-00-AM.txt",
         {{"1:50:00 AM", "1:50:20 AM"}, {"1:55:00 AM", "1:05:00 AM"}, {"1:10:00 AM", "1:10:09 AM"},
          {"4:00:00 AM", "4:00:09 AM"}},
         {{{2026, 11, 1, 6600}, {2026, 11, 1, 6620}, false, false},
          {{2026, 11, 1, 6900}, {2026, 11, 1, 3900}, false, true},
          {{2026, 11, 1, 4200}, {2026, 11, 1, 4209}, true, true},
          {{2026, 11, 1, 14400}, {2026, 11, 1, 14409}, true, true}}},
        {"a run started at 1:50 AM with its first hit after the clock went back",
         "11-01-2026_1-50-00-AM.txt",
         {{"1:20:00 AM", "1:20:05 AM"}},
         {{{2026, 11, 1, 4800}, {2026, 11, 1, 4805}, true, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LogFileStamp stamp = *ParseLogFileName(c.file);
        const LogFileHits file = ParseLogFile(LogOf(c.hits, stamp.LaunchDate), stamp);
        ASSERT_EQ(file.Hits.size(), c.expected.size());
        for (size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(file.Hits[i].Start, c.expected[i].start) << i;
            EXPECT_EQ(file.Hits[i].End, c.expected[i].end) << i;
            EXPECT_EQ(file.Hits[i].StartAfterClockBack, c.expected[i].startAfterClockBack) << i;
            EXPECT_EQ(file.Hits[i].EndAfterClockBack, c.expected[i].endAfterClockBack) << i;
        }
    }
}

TEST(HistoryRules, IdenticalLinesOfARunAreTold1st2nd3rd) {
    // Two short hits on one channel in one second, and a run past midnight
    // with a hit at the same time on both days: identical lines.
    const std::string a = "County / Fire\tTac 2\t 154.4300\t\t11:59:00 PM\t11:59:01 PM\t12-30-2026\r\n";
    const std::string b = "County / Fire\tTac 3\t 154.4300\t\t11:59:00 PM\t11:59:01 PM\t12-30-2026\r\n";
    const std::string log = a + b + "County / Fire\tTac 1\t 154.4300\t\t1:00:00 PM\t1:00:01 PM\t12-30-2026\r\n" + a + a;
    const LogFileHits file = ParseLogFile(log, *ParseLogFileName("12-30-2026_12-00-00-PM.txt"));
    ASSERT_EQ(file.Hits.size(), 5u);
    std::vector<int> occurrences;
    for (const LoggedHit& hit : file.Hits) occurrences.push_back(hit.Occurrence);
    EXPECT_EQ(occurrences, (std::vector<int>{1, 2, 1, 1, 3}));  // oldest first
    EXPECT_EQ(file.Hits[0].LineKey, file.Hits[4].LineKey);
    EXPECT_EQ(file.Hits[4].Start, (LocalTime{2026, 12, 31, 86340}));
}

TEST(HistoryRules, CsvQuotesWhatNeedsItAndKeepsSpreadsheetsFromReadingFormulas) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},
        {",", "\",\""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1", "'+1"},
        {"-5", "'-5"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tcmd", "'\tcmd"},
        {"=a,b", "\"'=a,b\""},
        {"a=b", "a=b"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        std::string out;
        AppendCsvField(out, text);
        EXPECT_EQ(out, expected) << text;
    }
    std::string record;
    AppendCsvRecord(record, {"a", "", ","});
    EXPECT_EQ(record, "a,,\",\"\r\n");

    // A hit: the frequency without the log's leading blank.
    HistoryCsvValues hit;
    hit[5] = "=cmd";
    hit[8] = " 460.0250";
    hit[15] = "Hill top";
    std::string row;
    AppendHistoryCsvRecord(row, hit);
    EXPECT_EQ(row, ",,,,,'=cmd,,,460.0250,,,,,,,Hill top\r\n");
    hit[8] = "   ";
    row.clear();
    AppendHistoryCsvRecord(row, hit);
    EXPECT_EQ(row, ",,,,,'=cmd,,,,,,,,,,Hill top\r\n");
}

}  // namespace
}  // namespace quorvane
