#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The history file's layout. Names repeat from hit to hit, so each distinct
// set of names is kept once and the hits refer to it; the view hit_list shows
// every hit with its names and run for other programs that open the file.
// Two small tables count the hits per local day and hour, and per local day
// and names, as they are added: the chart of a large selection adds up those
// counts instead of visiting every hit.
//
// Version 2 keys a hit on its run, its log line and which of the run's lines
// with those bytes it is (version 1 keyed it on the line alone, so identical
// lines kept one row), and adds the signal levels and the mark for the
// history server (NULL local only, 0 not yet sent, 1 sent, 2 refused).
inline constexpr int kHistorySchemaVersion = 2;

// The statements that make a new file, or finish an upgraded one (each is
// "IF NOT EXISTS").
std::vector<std::string> HistorySchemaStatements();
// The statements that bring a file of the given older version to the
// current one without losing a row; HistorySchemaStatements() follow them.
std::vector<std::string> HistoryUpgradeStatements(int fromVersion);

// The history shared by several stations on a PostgreSQL server: the same
// layout with the station on each run and hit, and a table that holds the
// layout's version. Made by the first station that connects.
inline constexpr int kServerSchemaVersion = 1;
std::vector<std::string> ServerSchemaStatements();
// Taken for the transaction that checks and makes the layout, so that two
// stations starting together do not both make it.
inline constexpr long long kServerSchemaLock = 246024601;

// A LIKE pattern (escape character "\") that finds text anywhere in a value.
std::string LikeContains(std::string_view text);

}  // namespace quorvane
