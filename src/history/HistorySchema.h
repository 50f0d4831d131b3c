#pragma once
#include <array>
#include <string>
#include <string_view>

namespace quorvane {

// The history file's layout. Names repeat from hit to hit, so each distinct
// set of names is kept once and the hits refer to it; the view hit_list shows
// every hit with its names and run for other programs that open the file.
// Two small tables count the hits per local day and hour, and per local day
// and names, as they are added: the chart of a large selection adds up those
// counts instead of visiting every hit.
inline constexpr int kHistorySchemaVersion = 1;

inline constexpr std::array<std::string_view, 10> kHistorySchema = {
    R"(CREATE TABLE IF NOT EXISTS runs (
        id INTEGER PRIMARY KEY,
        started_local TEXT NOT NULL,
        started_utc TEXT NOT NULL,
        launch_date TEXT NOT NULL,
        launch_time TEXT NOT NULL,
        UNIQUE (launch_date, launch_time)))",
    R"(CREATE TABLE IF NOT EXISTS names (
        id INTEGER PRIMARY KEY,
        system TEXT NOT NULL,
        grp TEXT NOT NULL,
        channel TEXT NOT NULL,
        frequency TEXT NOT NULL,
        frequency_digits TEXT NOT NULL,
        code_or_id TEXT NOT NULL,
        UNIQUE (system, grp, channel, frequency, frequency_digits, code_or_id)))",
    R"(CREATE TABLE IF NOT EXISTS hits (
        id INTEGER PRIMARY KEY,
        run_id INTEGER NOT NULL REFERENCES runs (id),
        name_id INTEGER NOT NULL REFERENCES names (id),
        start_local TEXT NOT NULL,
        start_utc TEXT NOT NULL,
        end_local TEXT NOT NULL,
        end_utc TEXT NOT NULL,
        duration_s REAL NOT NULL,
        recording TEXT,
        start_ms INTEGER NOT NULL,
        start_hour INTEGER NOT NULL,
        start_day INTEGER NOT NULL,
        line_key INTEGER NOT NULL UNIQUE))",
    R"(CREATE TABLE IF NOT EXISTS hour_counts (
        day INTEGER NOT NULL,
        hour INTEGER NOT NULL,
        n INTEGER NOT NULL,
        PRIMARY KEY (day, hour)) WITHOUT ROWID)",
    R"(CREATE TABLE IF NOT EXISTS name_counts (
        name_id INTEGER NOT NULL,
        day INTEGER NOT NULL,
        n INTEGER NOT NULL,
        PRIMARY KEY (name_id, day)) WITHOUT ROWID)",
    R"(CREATE TRIGGER IF NOT EXISTS hits_counted AFTER INSERT ON hits BEGIN
        INSERT INTO hour_counts VALUES (NEW.start_day, NEW.start_hour, 1)
            ON CONFLICT (day, hour) DO UPDATE SET n = n + 1;
        INSERT INTO name_counts VALUES (NEW.name_id, NEW.start_day, 1)
            ON CONFLICT (name_id, day) DO UPDATE SET n = n + 1;
        END)",
    "CREATE INDEX IF NOT EXISTS hits_by_start ON hits (start_ms, name_id)",
    "CREATE INDEX IF NOT EXISTS hits_by_name ON hits (name_id, start_ms)",
    "CREATE INDEX IF NOT EXISTS hits_by_hour ON hits (start_hour, name_id, start_ms)",
    R"(CREATE VIEW IF NOT EXISTS hit_list AS
        SELECT h.id, h.run_id, h.start_local, h.start_utc, h.end_local, h.end_utc, h.duration_s,
               n.system, n.grp AS "group", n.channel, n.frequency, n.frequency_digits, n.code_or_id,
               h.recording
        FROM hits h JOIN names n ON n.id = h.name_id)",
};

// A LIKE pattern (escape character "\") that finds text anywhere in a value.
std::string LikeContains(std::string_view text);

}  // namespace quorvane
