#include "speech/SpeechSettings.h"

#include "app/NameValueFile.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

}  // namespace

SpeechSettings ReadSpeechSettings(std::string_view bytes) {
    SpeechSettings settings;
    NameValueFile file = ReadNameValueFile(bytes, kSpeechSettingsFile);
    settings.notices = std::move(file.notices);
    for (const NameValue& value : file.values) {
        const std::string where = NoticeWhere(kSpeechSettingsFile, value.line);
        if (value.name != "speak") {
            settings.notices.push_back(where + "unknown setting " + ShownValue(value.name) + "; ignored");
        } else if (const auto on = ZeroOrOne(value.value)) {
            settings.speak = *on;
        } else {
            settings.notices.push_back(where + "speak is 0 or 1, not " + ShownValue(value.value) + "; 0 is used");
            settings.speak = false;
        }
    }
    return settings;
}

std::string WriteSpeechSettings(const SpeechSettings& settings) {
    return std::string("speak=") + (settings.speak ? "1" : "0") + "\r\n";
}

std::string HitPhrase(const LiveHit& hit) {
    for (const std::string* name : {&hit.ChannelText, &hit.GroupText, &hit.SystemText, &hit.FreqShown}) {
        std::string phrase = TrimBlanks(*name);
        if (!phrase.empty()) return phrase;
    }
    return {};
}

}  // namespace quorvane
