#pragma once
#include <array>
#include <string>
#include <string_view>

namespace quorvane {

// The history file's layout. Names repeat from hit to hit, so each distinct
// set of names is kept once and the hits refer to it; the view hit_list shows
// every hit with its names and run for other programs that open the file.
inline constexpr int kHistorySchemaVersion = 1;

inline constexpr std::array<std::string_view, 7> kHistorySchema = {
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
        start_epoch INTEGER NOT NULL,
        start_hour INTEGER NOT NULL,
        line_key INTEGER NOT NULL UNIQUE))",
    "CREATE INDEX IF NOT EXISTS hits_by_start ON hits (start_epoch, name_id)",
    "CREATE INDEX IF NOT EXISTS hits_by_name ON hits (name_id, start_epoch)",
    "CREATE INDEX IF NOT EXISTS hits_by_hour ON hits (start_hour, name_id, start_epoch)",
    R"(CREATE VIEW IF NOT EXISTS hit_list AS
        SELECT h.id, h.run_id, h.start_local, h.start_utc, h.end_local, h.end_utc, h.duration_s,
               n.system, n.grp AS "group", n.channel, n.frequency, n.frequency_digits, n.code_or_id,
               h.recording
        FROM hits h JOIN names n ON n.id = h.name_id)",
};

// A LIKE pattern (escape character "\") that finds text anywhere in a value.
std::string LikeContains(std::string_view text);

}  // namespace quorvane
