#include "monitor/DisplayText.h"

#include <algorithm>

#include "base/Fields.h"

namespace quorvane {

std::string FrequencyText(std::string_view rawFrequency) {
    const size_t keep = std::min<size_t>(4, rawFrequency.size());
    std::string text;
    text.reserve(10);
    text.append(rawFrequency.substr(0, keep));
    text.push_back('.');
    text.append(rawFrequency.substr(rawFrequency.size() - keep));
    for (const std::string_view junk : {"\r", "STS", "OK", "KEY"}) {
        if (Contains(text, junk)) text = RemoveAll(std::move(text), junk);
    }
    text.erase(0, text.find_first_not_of('0'));
    if (text.size() < 9) text.insert(0, 9 - text.size(), ' ');
    return text;
}

std::string DisplayBoxText(std::string_view line1, std::string_view line2) {
    std::string text;
    text.reserve(line1.size() + line2.size() + 4);
    text.append(line1).append("\r\n").append(line2).append("\r\n");
    return text;
}

namespace {

void AppendOneLine(std::string& text, std::string_view line1, std::string_view line2) {
    text.append(TrimBlanks(line1));
    text.push_back('/');
    text.append(RemoveAll(RemoveAll(std::string(line2), " \x82 "), "\x81"));
}

}  // namespace

std::string OneLineDisplay(std::string_view line1, std::string_view line2) {
    std::string text;
    AppendOneLine(text, line1, line2);
    return text;
}

std::string FloatingTaskbarText(std::string_view line1, std::string_view line2) {
    std::string text(1, ' ');
    AppendOneLine(text, line1, line2);
    return text;
}

std::string ToneOrCodeText(std::string_view line2) {
    std::string text = RemoveAll(std::string(line2), "\x10");
    text.erase(text.find_last_not_of(' ') + 1);
    const auto lastWord = [](std::string_view words) {
        const std::size_t blank = words.find_last_of(' ');
        return std::string(blank == std::string_view::npos ? words : words.substr(blank + 1));
    };
    if (text.size() > 2 && text.compare(text.size() - 2, 2, "Hz") == 0) {
        const std::size_t start = text.find_last_not_of("0123456789.", text.size() - 3) + 1;
        if (start < text.size() - 2) return text.substr(start);
    }
    if (text.size() > 3 && text.compare(text.size() - 3, 3, "DCS") == 0) {
        std::string code = text.substr(0, text.size() - 3);
        code.erase(code.find_last_not_of(' ') + 1);
        const std::string word = lastWord(code);
        return word.empty() ? std::string("DCS") : word + " DCS";
    }
    return lastWord(text);
}

}  // namespace quorvane
