#include "app/NameValueFile.h"

#include <algorithm>
#include <cctype>

#include "app/SettingsText.h"
#include "base/Numbers.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

}  // namespace

std::string NoticeWhere(std::string_view fileName, int line) {
    return std::string(fileName) + " line " + std::to_string(line) + ": ";
}

std::string ShownValue(std::string_view value) {
    constexpr size_t kMost = 40;
    return "\"" + std::string(value.substr(0, kMost)) + (value.size() > kMost ? "...\"" : "\"");
}

NameValueFile ReadNameValueFile(std::string_view bytes, std::string_view fileName) {
    NameValueFile file;
    const std::vector<std::string> lines = SettingsLines(std::string(bytes));
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = Trimmed(lines[n]);
        if (line.empty() || line.front() == '#') continue;
        const int number = static_cast<int>(n + 1);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            file.notices.push_back(NoticeWhere(fileName, number) + "no \"=\" in " + ShownValue(line) + "; ignored");
            continue;
        }
        std::string name(Trimmed(line.substr(0, equals)));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        std::string_view value = Trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        file.values.push_back({number, std::move(name), std::string(value)});
    }
    return file;
}

std::string QuotedWhereNeeded(const std::string& value) {
    const bool quote = !value.empty() && (value.front() == ' ' || value.front() == '\t' || value.front() == '"' ||
                                          value.back() == ' ' || value.back() == '\t');
    return quote ? "\"" + value + "\"" : value;
}

std::optional<bool> ZeroOrOne(std::string_view value) {
    if (value == "1") return true;
    if (value == "0") return false;
    return std::nullopt;
}

std::optional<int> WholeNumberIn(std::string_view value, int low, int high) {
    if (!value.empty() && value.front() == '-') return std::nullopt;
    const std::optional<long long> number = WholeNumber(value, low, high);
    if (!number) return std::nullopt;
    return static_cast<int>(*number);
}

}  // namespace quorvane
