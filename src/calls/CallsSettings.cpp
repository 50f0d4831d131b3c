#include "calls/CallsSettings.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "app/NameValueFile.h"
#include "base/AsciiCase.h"
#include "base/Trim.h"
#include "base/Numbers.h"

namespace quorvane {
namespace {

// Numbers in calls.txt: a system, a talkgroup, a frequency in Hz.
constexpr long long kLongestNumber = 999999999999999;

}  // namespace

CallsSettings ReadCallsSettings(std::string_view bytes) {
    CallsSettings settings;
    int lineNumber = 0;
    while (!bytes.empty()) {
        const size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = Trimmed(bytes.substr(0, end), " \t\r\n\v\f");
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end);
        if (!bytes.empty() && bytes.front() == '\r') bytes.remove_prefix(1);
        if (!bytes.empty() && bytes.front() == '\n') bytes.remove_prefix(1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::string where = NoticeWhere(kCallsSettingsFile, lineNumber);
        std::istringstream words{std::string(line)};
        std::string kind;
        words >> kind;
        kind = LowerAscii(kind);
        if (kind == "rdio-scanner") {
            CallServer server{kind, {}, {}, {}};
            std::string extra;
            words >> server.url >> server.key >> server.system >> extra;
            if (server.system.empty() || !extra.empty()) {
                settings.notices.push_back(where + "rdio-scanner takes URL KEY SYSTEM; line ignored");
            } else if (server.url.rfind("http://", 0) != 0 && server.url.rfind("https://", 0) != 0) {
                settings.notices.push_back(where + "the address " + ShownValue(server.url) +
                                           " is no http:// or https:// address; line ignored");
            } else if (!WholeNumber(server.system, 0, kLongestNumber)) {
                settings.notices.push_back(where + "the system " + ShownValue(server.system) +
                                           " is no number; line ignored");
            } else {
                settings.servers.push_back(std::move(server));
            }
        } else if (kind == "talkgroup") {
            std::string number;
            words >> number;
            std::string name;
            std::getline(words, name);
            const auto value = WholeNumber(number, 0, kLongestNumber);
            if (!value || Trimmed(name, " \t\r\n\v\f").empty()) {
                settings.notices.push_back(where + "talkgroup takes NUMBER CHANNEL NAME; line ignored");
            } else {
                settings.channelTalkgroups[LowerAscii(Trimmed(name, " \t\r\n\v\f"))] = *value;
            }
        } else {
            settings.notices.push_back(where + "unknown kind " + ShownValue(kind) + "; line ignored");
        }
    }
    return settings;
}

long long FrequencyHz(std::string_view rawFrequency) {
    const auto digits = WholeNumber(Trimmed(rawFrequency, " \t\r\n\v\f"), 0, kLongestNumber);
    return digits ? *digits * 100 : 0;
}

long long CallTalkgroup(const CallsSettings& settings, bool trunked, std::string_view talkgroupId,
                        std::string_view channel, std::string_view rawFrequency) {
    if (trunked) {
        if (const auto id = WholeNumber(Trimmed(talkgroupId, " \t\r\n\v\f"), 0, kLongestNumber)) return *id;
    }
    const auto mapped = settings.channelTalkgroups.find(LowerAscii(Trimmed(channel, " \t\r\n\v\f")));
    if (mapped != settings.channelTalkgroups.end()) return mapped->second;
    return FrequencyHz(rawFrequency) / 100;
}

std::vector<std::pair<std::string, std::string>> CallFields(const CallServer& server, const CallMetadata& call) {
    std::vector<std::pair<std::string, std::string>> fields{
        {"key", server.key},
        {"system", server.system},
        {"dateTime", call.startUtc},
        {"frequency", std::to_string(call.frequencyHz)},
        {"talkgroup", std::to_string(call.talkgroup)},
    };
    const auto label = [&fields](const char* name, const std::string& value) {
        if (!value.empty()) fields.emplace_back(name, value);
    };
    label("systemLabel", call.system);
    label("talkgroupGroup", call.group);
    label("talkgroupLabel", call.channel);
    return fields;
}

CallOutcome ClassifyAnswer(int httpStatus) {
    if (httpStatus >= 200 && httpStatus < 300) return CallOutcome::Delivered;
    if (httpStatus >= 400 && httpStatus < 500 && httpStatus != 408 && httpStatus != 429) return CallOutcome::Refused;
    return CallOutcome::Retry;
}

std::string WriteQueuedCall(const QueuedCall& queued) {
    std::string bytes;
    const auto line = [&bytes](std::string_view name, std::string_view value) {
        bytes.append(name).append("=").append(QuotedWhereNeeded(std::string(value))).append("\r\n");
    };
    line("kind", queued.server.kind);
    line("url", queued.server.url);
    line("key", queued.server.key);
    line("system", queued.server.system);
    line("start", queued.call.startUtc);
    line("frequency", std::to_string(queued.call.frequencyHz));
    line("talkgroup", std::to_string(queued.call.talkgroup));
    line("system_label", queued.call.system);
    line("group_label", queued.call.group);
    line("channel_label", queued.call.channel);
    line("recording", queued.recording);
    return bytes;
}

std::optional<QueuedCall> ReadQueuedCall(std::string_view bytes) {
    QueuedCall queued;
    std::optional<long long> frequency;
    std::optional<long long> talkgroup;
    for (const NameValue& entry : ReadNameValueFile(bytes, "").values) {
        const std::string& v = entry.value;
        const std::string& n = entry.name;
        if (n == "kind") queued.server.kind = v;
        else if (n == "url") queued.server.url = v;
        else if (n == "key") queued.server.key = v;
        else if (n == "system") queued.server.system = v;
        else if (n == "start") queued.call.startUtc = v;
        else if (n == "frequency") frequency = WholeNumber(v, 0, kLongestNumber);
        else if (n == "talkgroup") talkgroup = WholeNumber(v, 0, kLongestNumber);
        else if (n == "system_label") queued.call.system = v;
        else if (n == "group_label") queued.call.group = v;
        else if (n == "channel_label") queued.call.channel = v;
        else if (n == "recording") queued.recording = v;
    }
    if (queued.server.url.empty() || queued.recording.empty() || !frequency || !talkgroup) return std::nullopt;
    queued.call.frequencyHz = *frequency;
    queued.call.talkgroup = *talkgroup;
    return queued;
}

std::string CallsStateText(int queued, std::string_view lastError, bool anyServer) {
    if (!anyServer && queued == 0 && lastError.empty()) return "Calls: off (no server in calls.txt)";
    std::string text = queued == 0 ? "Calls: none waiting" : "Calls: " + std::to_string(queued) + " waiting";
    if (!lastError.empty()) text += "; last error: " + std::string(lastError);
    return text;
}

}  // namespace quorvane
