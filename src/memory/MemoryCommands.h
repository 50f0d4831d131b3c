#pragma once
#include <optional>
#include <string>
#include <vector>

#include "memory/MemoryFields.h"
#include "memory/ScannerMemory.h"

namespace quorvane {

// The programming commands of the scanner's PC protocol and the reading of
// their replies. Texts are as handed to ScannerLink::Send (which adds
// the CR); indexes go out exactly as the scanner gave them. All of these work
// only in Program Mode ("PRG").
//
// Replies: a read answers its word and the record's fields; a set or delete
// answers "<word>,OK"; an append or create answers "<word>,<new index>",
// "-1" when the memory is full. "ERR" (a command or field the scanner
// refuses), "<word>,NG" (not possible now: outside Program Mode, or no such
// record), "FER" (framing error) and "ORER" (overrun) are errors.

inline constexpr const char* kModelRequest = "MDL";
inline constexpr const char* kFirmwareRequest = "VER";
inline constexpr const char* kClearMemory = "CLR";
inline constexpr const char* kMemoryUsedRequest = "MEM";
inline constexpr const char* kSystemListHead = "SIH";
inline constexpr const char* kEndOfList = "-1";

// "SIN,<index>" and the like: a record's read command.
std::string ReadCommand(const RecordLayout& layout, const std::string& index);
// "CIN,<index>,<field>,...": a set command with every field of the record in
// order; an empty field leaves that value as it is.
std::string SetCommand(const RecordLayout& layout, const std::string& index, const Fields& fields);

std::string CreateSystemCommand(const std::string& type);              // "CSY,<type>"
std::string AppendGroupCommand(const std::string& systemIndex, bool talkgroups);  // "AGC," / "AGT,"
std::string AppendMemberCommand(const std::string& groupIndex, bool talkgroup);   // "ACC," / "ACT,"
std::string DeleteSystemCommand(const std::string& index);             // "DSY,<index>"
std::string DeleteGroupCommand(const std::string& index);              // "DGR,<index>"
std::string DeleteMemberCommand(const std::string& index);             // "DCH,<index>"

// Whether a command makes or deletes a record (CSY, AGC, AGT, ACC, ACT, DSY,
// DGR, DCH): the scanner may take its time, and a second send would make a
// second record or be refused, so it waits kChangeWaitMs for its answer and
// is then never sent again without reading back whether it happened.
bool IsMakeOrDeleteCommand(const std::string& command);
inline constexpr int kChangeWaitMs = 10000;

enum class ReplyError { None, Err, Ng, Fer, Orer };
// The error a reply line reports: "ERR", "NG", "FER" or "ORER" alone, or as
// the field after the word ("CIN,NG").
ReplyError ErrorOf(const std::vector<std::string>& fields);
// What an error means, for messages.
std::string ErrorMeaning(ReplyError error);

// The settings of a record's read reply, when the reply has the record's word,
// all its fields, every one of them has its kind's form and the required ones
// (frequency, talkgroup ID) are there; otherwise nothing
// and *why says what is wrong.
std::optional<Fields> ReplySettings(const RecordLayout& layout, const std::vector<std::string>& reply,
                                    std::string* why);
// Reply field `link` after the settings (0: the first link field), or "".
const std::string& ReplyLink(const RecordLayout& layout, const std::vector<std::string>& reply, std::size_t link);

}  // namespace quorvane
