#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace quorvane {

// What a field of a record holds, which decides its form in the file, the
// check of a reply, the validator's rule and how two values compare.
enum class FieldKind {
    Name,        // up to 16 bytes, no comma; file: text (ScannerText)
    Text,        // bytes; file: text (ScannerText)
    Tgid,        // talkgroup ID in the system type's own form ("12345", "01-123"); file: text
    Flag,        // "0" / "1"; file: false / true
    Number,      // decimal, within min..max; file: a whole number
    Frequency,   // 8 digits of 100 Hz; file: MHz text with 4 decimals ("154.4300")
    QuickKey,    // "." (none) or a key "0".."9"; file: the same text
    Modulation,  // "AUTO", "FM", "NFM", "AM"; file: the same text
    Tone,        // CTCSS/DCS code (ToneCodes); file: a whole number
    Step,        // search step in 10 Hz units (SearchSteps); file: a whole number
    FleetMap,    // eight size codes "0".."E"; file: the same text
};

struct FieldRule {
    const char* key;  // name in the file and in messages
    FieldKind kind;
    long min = 0;  // Number: allowed range
    long max = 0;
    bool required = false;  // must be given in a file (and never empty)
};

// One record kind: its command word, where its settings start in the reply,
// and its fields in set-command order. Fields from arrayStart on are written
// in the file as an array (arrayKey) of objects of arrayElement fields each.
struct RecordLayout {
    const char* word;
    const char* label;  // "system", "channel", ...: in messages
    std::size_t replyOffset;
    std::vector<FieldRule> fields;
    const char* arrayKey = nullptr;
    std::size_t arrayStart = 0;
    std::size_t arrayElement = 0;
    // Reply fields after the settings: previous, next and owners (the reply
    // holds replyOffset + fields + links fields at least).
    std::size_t links = 0;
};

const RecordLayout& SystemLayout();         // SIN (settings only; the type comes from CSY)
const RecordLayout& TrunkLayout();          // TRN
const RecordLayout& BandPlanLayout();       // MCP
const RecordLayout& GroupLayout();          // GIN
const RecordLayout& ChannelLayout();        // CIN
const RecordLayout& TalkgroupLayout();      // TIN
const RecordLayout& TrunkFrequencyLayout(); // TFQ

// The key of field `at` in messages: its key, or for an array field the
// array, its element number from 1 and the key ("bands 2 step").
std::string FieldLabel(const RecordLayout& layout, std::size_t at);

// Whether a value as the scanner sent it has the form of its kind (empty is
// always allowed), so the file can hold it. Ranges are the validator's.
bool FitsKind(const FieldRule& field, const std::string& value);

// Whether two values are the same setting: numbers by value, names without
// trailing blanks (the scanner may pad them), an empty expected value
// (not given, the scanner's default) matches anything; the rest as bytes.
bool SameValue(const FieldRule& field, const std::string& expected, const std::string& actual);

// A value as a message shows it: frequencies as MHz text, names and texts
// as screen text in quotes, empty as "(empty)".
std::string ShownValue(const FieldRule& field, const std::string& value);

}  // namespace quorvane
