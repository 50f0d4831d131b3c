#include "history/HistorySchema.h"

namespace quorvane {
namespace {

std::string HitsTable(std::string_view name) {
    return "CREATE TABLE IF NOT EXISTS " + std::string(name) + R"( (
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
        line_key INTEGER NOT NULL,
        occurrence INTEGER NOT NULL,
        signal_peak INTEGER,
        signal_average INTEGER,
        sent INTEGER,
        UNIQUE (run_id, line_key, occurrence)))";
}

}  // namespace

std::vector<std::string> HistorySchemaStatements() {
    return {
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
        HitsTable("hits"),
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
        // The server's queue: only the few hits that wait are in it.
        "CREATE INDEX IF NOT EXISTS hits_unsent ON hits (id) WHERE sent = 0",
        R"(CREATE VIEW IF NOT EXISTS hit_list AS
            SELECT h.id, h.run_id, h.start_local, h.start_utc, h.end_local, h.end_utc, h.duration_s,
                   n.system, n.grp AS "group", n.channel, n.frequency, n.frequency_digits, n.code_or_id,
                   h.recording, h.signal_peak, h.signal_average
            FROM hits h JOIN names n ON n.id = h.name_id)",
    };
}

std::vector<std::string> HistoryUpgradeStatements(int fromVersion) {
    if (fromVersion != 1) return {};
    // SQLite cannot drop a constraint: the hits move to a table of the new
    // layout, each the first of its line (version 1 kept no other), and the
    // old table goes with its indexes and trigger. The counts stay as they are.
    return {
        "DROP VIEW IF EXISTS hit_list",
        HitsTable("hits_v2"),
        R"(INSERT INTO hits_v2 (id, run_id, name_id, start_local, start_utc, end_local, end_utc, duration_s,
                                recording, start_ms, start_hour, start_day, line_key, occurrence)
           SELECT id, run_id, name_id, start_local, start_utc, end_local, end_utc, duration_s,
                  recording, start_ms, start_hour, start_day, line_key, 1 FROM hits)",
        "DROP TABLE hits",
        "ALTER TABLE hits_v2 RENAME TO hits",
    };
}

std::vector<std::string> ServerSchemaStatements() {
    return {
        "CREATE TABLE IF NOT EXISTS history_schema (version integer NOT NULL)",
        R"(CREATE TABLE IF NOT EXISTS runs (
            id bigserial PRIMARY KEY,
            station text NOT NULL,
            started_local text NOT NULL,
            started_utc text NOT NULL,
            launch_date text NOT NULL,
            launch_time text NOT NULL,
            UNIQUE (station, launch_date, launch_time)))",
        R"(CREATE TABLE IF NOT EXISTS names (
            id bigserial PRIMARY KEY,
            system text NOT NULL,
            grp text NOT NULL,
            channel text NOT NULL,
            frequency text NOT NULL,
            frequency_digits text NOT NULL,
            code_or_id text NOT NULL,
            UNIQUE (system, grp, channel, frequency, frequency_digits, code_or_id)))",
        R"(CREATE TABLE IF NOT EXISTS hits (
            id bigserial PRIMARY KEY,
            run_id bigint NOT NULL REFERENCES runs (id),
            name_id bigint NOT NULL REFERENCES names (id),
            station text NOT NULL,
            start_local text NOT NULL,
            start_utc text NOT NULL,
            end_local text NOT NULL,
            end_utc text NOT NULL,
            duration_s double precision NOT NULL,
            recording text,
            start_ms bigint NOT NULL,
            start_hour integer NOT NULL,
            start_day integer NOT NULL,
            line_key bigint NOT NULL,
            occurrence integer NOT NULL,
            signal_peak integer,
            signal_average integer,
            UNIQUE (run_id, line_key, occurrence)))",
        R"(CREATE TABLE IF NOT EXISTS hour_counts (
            day integer NOT NULL,
            hour integer NOT NULL,
            station text NOT NULL,
            n bigint NOT NULL,
            PRIMARY KEY (day, hour, station)))",
        R"(CREATE TABLE IF NOT EXISTS name_counts (
            name_id bigint NOT NULL,
            day integer NOT NULL,
            station text NOT NULL,
            n bigint NOT NULL,
            PRIMARY KEY (name_id, day, station)))",
        R"(CREATE OR REPLACE FUNCTION hits_counted() RETURNS trigger LANGUAGE plpgsql AS $$
            BEGIN
                INSERT INTO hour_counts VALUES (NEW.start_day, NEW.start_hour, NEW.station, 1)
                    ON CONFLICT (day, hour, station) DO UPDATE SET n = hour_counts.n + 1;
                INSERT INTO name_counts VALUES (NEW.name_id, NEW.start_day, NEW.station, 1)
                    ON CONFLICT (name_id, day, station) DO UPDATE SET n = name_counts.n + 1;
                RETURN NULL;
            END $$)",
        "CREATE TRIGGER hits_counted AFTER INSERT ON hits FOR EACH ROW EXECUTE FUNCTION hits_counted()",
        "CREATE INDEX IF NOT EXISTS hits_by_start ON hits (start_ms, id)",
        // A search's chart counts the hits of each name it finds, and the
        // table picks its newest rows, from these indexes alone.
        "CREATE INDEX IF NOT EXISTS hits_by_name ON hits (name_id, start_ms) INCLUDE (start_hour, station, id)",
        "CREATE INDEX IF NOT EXISTS hits_by_station ON hits (station, start_ms) INCLUDE (id, name_id)",
        R"(CREATE OR REPLACE VIEW hit_list AS
            SELECT h.id, h.run_id, h.station, h.start_local, h.start_utc, h.end_local, h.end_utc, h.duration_s,
                   n.system, n.grp AS "group", n.channel, n.frequency, n.frequency_digits, n.code_or_id,
                   h.recording, h.signal_peak, h.signal_average
            FROM hits h JOIN names n ON n.id = h.name_id)",
        "INSERT INTO history_schema SELECT " + std::to_string(kServerSchemaVersion) +
            " WHERE NOT EXISTS (SELECT 1 FROM history_schema)",
    };
}

std::string LikeContains(std::string_view text) {
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') pattern.push_back('\\');
        pattern.push_back(c);
    }
    pattern.push_back('%');
    return pattern;
}

}  // namespace quorvane
