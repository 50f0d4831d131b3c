#pragma once
// The Memory tree's columns and the text of its cells: what a cell shows of
// a record's field and what a typed text stands for.
#include <QColor>
#include <QString>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

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
};
inline constexpr int kColumnCount = static_cast<int>(std::size(kColumns));
inline constexpr int kTypeColumn = 1;
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
// The field text typed into a cell stands for: true with *bytes set when it
// is a value at all; *problem says what is wrong with it (empty: nothing).
bool CellValue(const FieldRule& field, const QString& typed, std::string* bytes, std::string* problem);
// What is wrong with a system type; empty when the scanner knows it.
std::string TypeProblem(const std::string& type);

}  // namespace quorvane
