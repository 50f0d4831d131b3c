#include "Respond.h"

#include <string>
#include <vector>

#include "ReplyLine.h"
#include "base/Fields.h"

namespace quorvane {
namespace {

constexpr const char* kError = "ERR";

std::string StatusReply(const RadioView& v) {
    // Fields 2, 4, 7, 8, 10 and 11 carry nothing the radio's display needs here.
    const std::string squelch = v.receiving ? "0" : "1";
    return ReplyLine({"STS", v.line1, "", v.line2, "", v.icons1, v.icons2, "0", "0", squelch, "0", "0"});
}

std::string TalkgroupReply(const RadioView& v) {
    return ReplyLine({"GID", "", v.tgid, "", v.system, v.group, v.talkgroup});
}

std::string FrequencyReply(const RadioView& v) {
    // Field 1: the signal level, the step's own or the default for its state.
    const int level = v.level.value_or(v.receiving ? kReceivingLevel : kIdleLevel);
    return ReplyLine({"WIN", std::to_string(level), v.frequency});
}

bool IsDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string KeyReply(RadioState& state, const std::vector<std::string>& f, SimTime now) {
    if (f.size() != 3 || f[1].size() != 1 || (f[2] != "P" && f[2] != "H" && f[2] != "R")) return kError;
    if (f[2] != "R") state.PressKey(f[1][0], now);
    return "KEY,OK";
}

std::string TuneReply(RadioState& state, const std::vector<std::string>& f, SimTime now) {
    if (f.size() != 10) return kError;
    const std::string& modulation = f[3];
    const bool known_mod = modulation.empty() || modulation == "FM" || modulation == "NFM" || modulation == "AM";
    if (f[1].size() != 8 || !IsDigits(f[1]) || !known_mod || state.Programming()) return "QSH,NG";
    state.Tune(f[1], modulation, now);
    return "QSH,OK";
}

bool IsProgrammingWord(const std::string& name) {
    static const char* const kWords[] = {"SIN", "GIN", "CIN", "TIN", "TFQ", "TRN", "MCP", "CSY", "AGC",
                                         "AGT", "ACC", "ACT", "DSY", "DGR", "DCH", "CLR", "MEM"};
    for (const char* word : kWords)
        if (name == word) return true;
    return StoredMemory::IsSettingWord(name);
}

// The memory commands: a malformed one is an error, any one outside
// programming mode is refused.
std::string MemoryReply(RadioState& state, const std::vector<std::string>& f) {
    if (!StoredMemory::WellFormed(f)) return kError;
    if (!state.Programming()) return f[0] + ",NG";
    return state.Memory().Answer(f);
}

}  // namespace

std::string Respond(RadioState& state, const std::string& command, SimTime now) {
    const std::vector<std::string> f = SplitFields(command, ',');
    const std::string& name = f[0];
    if (name == "KEY") return KeyReply(state, f, now);
    if (name == "QSH") return TuneReply(state, f, now);
    if (IsProgrammingWord(name)) return MemoryReply(state, f);
    if (f.size() != 1) return kError;
    if (name == "STS") return StatusReply(state.View(now));
    if (name == "GID") return TalkgroupReply(state.View(now));
    if (name == "WIN") return FrequencyReply(state.View(now));
    if (name == "PRG") {
        state.SetProgramming(true, now);
        return "PRG,OK";
    }
    if (name == "EPG") {
        state.SetProgramming(false, now);
        return "EPG,OK";
    }
    if (name == "SIH") return state.Programming() ? "SIH," + state.Memory().FirstSystem() : "SIH,NG";
    if (name == "MDL") return state.Programming() ? std::string("MDL,") + kSimModel : "MDL,NG";
    if (name == "VER") return state.Programming() ? std::string("VER,") + kSimFirmware : "VER,NG";
    return kError;
}

}  // namespace quorvane
