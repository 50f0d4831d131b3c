#include "memory/MemoryCommands.h"

#include "memory/MemoryValues.h"

namespace quorvane {

std::string ReadCommand(const RecordLayout& layout, const std::string& index) {
    return std::string(layout.word) + "," + index;
}

std::string SetCommand(const RecordLayout& layout, const std::string& index, const Fields& fields) {
    std::string command = ReadCommand(layout, index);
    for (const std::string& field : fields) command += "," + field;
    return command;
}

std::string CreateSystemCommand(const std::string& type) { return "CSY," + type; }

std::string AppendGroupCommand(const std::string& systemIndex, bool talkgroups) {
    return (talkgroups ? "AGT," : "AGC,") + systemIndex;
}

std::string AppendMemberCommand(const std::string& groupIndex, bool talkgroup) {
    return (talkgroup ? "ACT," : "ACC,") + groupIndex;
}

std::string DeleteSystemCommand(const std::string& index) { return "DSY," + index; }
std::string DeleteGroupCommand(const std::string& index) { return "DGR," + index; }
std::string DeleteMemberCommand(const std::string& index) { return "DCH," + index; }

ReplyError ErrorOf(const std::vector<std::string>& fields) {
    if (fields.empty() || fields.size() > 2) return ReplyError::None;
    const std::string& code = fields.back();
    if (code == "ERR") return ReplyError::Err;
    if (code == "NG") return ReplyError::Ng;
    if (code == "FER") return ReplyError::Fer;
    if (code == "ORER") return ReplyError::Orer;
    return ReplyError::None;
}

std::string ErrorMeaning(ReplyError error) {
    switch (error) {
        case ReplyError::Err:
            return "the scanner refused the command or one of its fields";
        case ReplyError::Ng:
            return "the scanner cannot do it now (not in Program Mode, or no such record)";
        case ReplyError::Fer:
            return "framing error on the line: check the port speed and the cable";
        case ReplyError::Orer:
            return "the scanner's input overran: the line is too fast or too busy";
        case ReplyError::None:
            break;
    }
    return "";
}

std::optional<Fields> ReplySettings(const RecordLayout& layout, const std::vector<std::string>& reply,
                                    std::string* why) {
    const std::size_t needed = layout.replyOffset + layout.fields.size() + layout.links;
    if (reply.empty() || reply[0] != layout.word) {
        if (why) *why = "not a " + std::string(layout.word) + " reply";
        return std::nullopt;
    }
    if (reply.size() < needed) {
        if (why) *why = std::to_string(reply.size()) + " fields where " + std::to_string(needed) + " are needed";
        return std::nullopt;
    }
    Fields settings(reply.begin() + static_cast<long>(layout.replyOffset),
                    reply.begin() + static_cast<long>(layout.replyOffset + layout.fields.size()));
    for (std::size_t at = 0; at < settings.size(); ++at) {
        const FieldRule& field = layout.fields[at];
        if (!FitsKind(field, settings[at])) {
            if (why) *why = FieldLabel(layout, at) + " \"" + ScannerText(settings[at]) + "\" has not the form of its kind";
            return std::nullopt;
        }
        // A record the scanner holds always has these (a frequency, a talkgroup ID).
        if (field.required && field.kind != FieldKind::Name && settings[at].empty()) {
            if (why) *why = FieldLabel(layout, at) + " is empty";
            return std::nullopt;
        }
    }
    return settings;
}

const std::string& ReplyLink(const RecordLayout& layout, const std::vector<std::string>& reply, std::size_t link) {
    static const std::string none;
    const std::size_t at = layout.replyOffset + layout.fields.size() + link;
    return at < reply.size() ? reply[at] : none;
}

namespace {

template <std::size_t N>
bool OneOf(const std::string& word, const char* const (&words)[N]) {
    for (const char* candidate : words)
        if (word == candidate) return true;
    return false;
}

}  // namespace

bool IsMakeOrDeleteCommand(const std::string& command) {
    static const char* const kWords[] = {"CSY", "AGC", "AGT", "ACC", "ACT", "DSY", "DGR", "DCH"};
    return OneOf(command.substr(0, command.find(',')), kWords);
}

}  // namespace quorvane
