#pragma once
// The Memory tree's columns and the text of its cells: what a cell shows of
// a record's field and what a typed text stands for.
#include <QColor>
#include <QString>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memory/MemoryFields.h"

namespace quorvane {

enum class RowKind { System, Site, Group, Channel, Talkgroup, Frequency };

struct Column {
    const char* key;  // the memory file's key of the settings shown
    const char* header;
    int widthPx;
};
// Names first, then what tells records apart, then the settings most edited.
inline constexpr Column kColumns[] = {
    {"name", "Name", 170},         {"type", "Type", 80},         {"frequency", "Frequency", 80},
    {"tgid", "TGID", 70},          {"modulation", "Mod", 50},    {"tone", "Tone", 75},
    {"step", "Step", 65},          {"quickKey", "Key", 35},      {"lockout", "Lockout", 55},
    {"priority", "Priority", 55},  {"attenuation", "Atten", 50}, {"alert", "Alert", 45},
    {"toneLockout", "Tone lockout", 80}, {"holdTime", "Hold", 45}, {"delayTime", "Delay", 45},
    {"dataSkip", "Data skip", 65}, {"emergencyAlert", "Emergency", 70}, {"lcn", "LCN", 40},
    {"groupQuickKeys", "Group keys on", 95}, {"lockedIds", "Locked-out IDs", 130},
};
inline constexpr int kColumnCount = static_cast<int>(std::size(kColumns));
inline constexpr int kTypeColumn = 1;
// A system's lists kept beside its record (the last two columns): the group
// quick keys switched on (QGL: ten digits 0 or 1, keys 1-9 then 0) and the
// locked-out talkgroup IDs of a trunked system (LOI; blanks between them).
inline constexpr int kGroupKeysColumn = kColumnCount - 2;
inline constexpr int kLockedIdsColumn = kColumnCount - 1;
struct SystemLists {
    std::string groupQuickKeys;
    std::vector<std::string> lockedIds;
};
bool IsListColumn(int column);
QString ListText(int column, const SystemLists& lists);
// Typed text of a list column: true with it in *lists when the scanner takes
// it; else *problem says why, naming the list ("lockedIds ...").
bool ListValue(int column, const std::string& systemType, const QString& typed, SystemLists* lists,
               std::string* problem);
// What is wrong with a list of a system of systemType; empty when nothing.
std::string ListProblem(int column, const std::string& systemType, const SystemLists& lists);
inline const QColor kMarked(255, 200, 200);  // a cell with a fault

// The record layout of a kind of row.
const RecordLayout& LayoutOf(RowKind kind);
// The field each column shows for a kind of record, -1 for none.
int FieldOfColumn(RowKind kind, int column);
// "U+2713".
std::string CodePointText(char32_t c);
// The reading of a value typed in people's units (Hz, kHz, AM/FM), for the
// fields the scanner keeps as codes; nothing for other fields.
using UnitsReader = std::optional<std::string> (*)(std::string_view, std::string*);
UnitsReader CodeInUnits(FieldKind kind);
// A value in those units, as shown and chosen.
std::string InUnits(FieldKind kind, const std::string& value);
// Scanner bytes as the tree shows them: as the memory file has them, but the
// bytes 0x80-0x9F, whose characters look like punctuation (0x82 like a
// comma, which no name can hold), show as their number: "\u27E882\u27E9".
QString ShownText(const std::string& bytes);
// Typed text with those numbers back as the characters of their bytes.
QString UnshownText(QString text);
// What is wrong with a value of a field in a system of systemType (an LCN's
// range depends on it); empty when nothing.
std::string CellProblem(const FieldRule& field, const std::string& value, const std::string& systemType);
// The field text typed into a cell stands for: true with *bytes set when it
// is a value at all; *problem says what is wrong with it (empty: nothing).
bool CellValue(const FieldRule& field, const QString& typed, std::string* bytes, std::string* problem,
               const std::string& systemType = {});
// What the type cell of a row shows: a system's type, "Site", or what a
// group holds ("Channels", "Talkgroups").
QString TypeText(RowKind kind, const std::string& type);
// What is wrong with a system type; empty when the scanner knows it.
std::string TypeProblem(const std::string& type);

}  // namespace quorvane
