#include "ScenarioParser.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/Fields.h"

namespace quorvane {
namespace {

constexpr int kLongestDurationMs = 24 * 60 * 60 * 1000;

// One word of a directive line: a plain word or quoted text, or KEY=VALUE.
struct Token {
    std::string key;    // empty for a plain word
    std::string value;
};

class LineError {
public:
    explicit LineError(std::string message) : message(std::move(message)) {}
    std::string message;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the quoted text starting at line[at] == '"'; at ends past the closing quote.
std::string ReadQuoted(const std::string& line, std::size_t& at) {
    std::string text;
    ++at;
    while (at < line.size()) {
        const char c = line[at++];
        if (c == '"') return text;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (at >= line.size()) break;
        const char e = line[at++];
        if (e == '\\' || e == '"') {
            text += e;
        } else if (e == 'x') {
            const int high = at < line.size() ? HexDigit(line[at]) : -1;
            const int low = at + 1 < line.size() ? HexDigit(line[at + 1]) : -1;
            if (high < 0 || low < 0) throw LineError("\\x needs two hex digits");
            text += static_cast<char>(high * 16 + low);
            at += 2;
        } else {
            throw LineError(std::string("unknown escape \\") + e);
        }
    }
    throw LineError("unterminated quote");
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<Token> Tokenize(const std::string& line) {
    std::vector<Token> tokens;
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size() || line[at] == '#') return tokens;  // the rest is a comment
        Token token;
        if (line[at] == '"') {
            token.value = ReadQuoted(line, at);
        } else {
            std::string word;
            while (at < line.size() && !IsBlank(line[at]) && line[at] != '=' && line[at] != '"')
                word += line[at++];
            if (at < line.size() && line[at] == '"') throw LineError("quote inside a word");
            if (at < line.size() && line[at] == '=') {
                if (word.empty()) throw LineError("'=' without a name before it");
                token.key = word;
                ++at;
                if (at < line.size() && line[at] == '"') {
                    token.value = ReadQuoted(line, at);
                } else {
                    while (at < line.size() && !IsBlank(line[at])) {
                        if (line[at] == '"') throw LineError("quote inside a word");
                        token.value += line[at++];
                    }
                }
            } else {
                token.value = word;
            }
        }
        if (at < line.size() && !IsBlank(line[at])) throw LineError("text straight after a quote");
        tokens.push_back(std::move(token));
    }
}

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int Milliseconds(const std::string& text, int least, const char* what) {
    if (!AllDigits(text) || text.size() > 9) throw LineError(std::string(what) + " must be a number of ms");
    const int value = std::stoi(text);
    if (value < least || value > kLongestDurationMs)
        throw LineError(std::string(what) + " out of range");
    return value;
}

// Texts end up inside comma-separated reply lines.
std::string CheckedText(const std::string& text, const std::string& what) {
    if (text.find(',') != std::string::npos) throw LineError(what + " holds a comma");
    if (text.find('\r') != std::string::npos) throw LineError(what + " holds a carriage return");
    return text;
}

std::string CheckedFrequency(const std::string& digits) {
    if (digits.size() != 8 || !AllDigits(digits)) throw LineError("frequency must be 8 digits");
    return digits;
}

int CheckedLevel(const std::string& text) {
    if (!AllDigits(text) || text.size() > 3 || std::stoi(text) > 255) throw LineError("level must be 0 to 255");
    return std::stoi(text);
}

std::string CheckedFlags(const std::string& flags, std::size_t least, const std::string& what) {
    if (flags.size() < least) throw LineError(what + " needs at least " + std::to_string(least) + " flags");
    if (flags.find_first_not_of("01") != std::string::npos) throw LineError(what + " may hold only 0 and 1");
    return flags;
}

std::string CheckedLine(const std::string& text, const std::string& what) {
    CheckedText(text, what);
    if (text.size() > kDisplayWidth) throw LineError(what + " longer than 16 characters");
    return PadLine(text);
}

void NeedCount(const std::vector<Token>& tokens, std::size_t least, std::size_t most, const char* usage) {
    if (tokens.size() < least || tokens.size() > most) throw LineError(std::string("usage: ") + usage);
    for (std::size_t i = 1; i < tokens.size(); ++i)
        if (!tokens[i].key.empty()) throw LineError(std::string("usage: ") + usage);
}

ScanStep ParseStep(const std::vector<Token>& tokens, const Scenario& scenario) {
    constexpr const char* kUsage = "step MS idle|hit [cont] [prompt] [KEY=VALUE ...]";
    if (tokens.size() < 3 || !tokens[1].key.empty() || !tokens[2].key.empty())
        throw LineError(std::string("usage: ") + kUsage);
    ScanStep step;
    step.duration_ms = Milliseconds(tokens[1].value, 1, "step duration");
    bool receiving;
    if (tokens[2].value == "hit") receiving = true;
    else if (tokens[2].value == "idle") receiving = false;
    else throw LineError("step mode must be idle or hit");

    for (std::size_t i = 3; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (!t.key.empty()) continue;
        if (t.value == "cont") {
            if (scenario.steps.empty()) throw LineError("cont on the first step");
            step.continues = true;
            step.view = scenario.steps.back().view;
        } else if (t.value == "prompt") {
            step.prompt = true;
        } else {
            throw LineError("unknown step word '" + t.value + "'");
        }
    }
    step.view.receiving = receiving;
    for (std::size_t i = 3; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.key.empty()) continue;
        RadioView& v = step.view;
        if (t.key == "line1") v.line1 = CheckedLine(t.value, "line1");
        else if (t.key == "line2") v.line2 = CheckedLine(t.value, "line2");
        else if (t.key == "icons1") v.icons1 = CheckedFlags(t.value, 15, "icons1");
        else if (t.key == "icons2") v.icons2 = CheckedFlags(t.value, 17, "icons2");
        else if (t.key == "freq") v.frequency = CheckedFrequency(t.value);
        else if (t.key == "tgid") v.tgid = CheckedText(t.value, "tgid");
        else if (t.key == "system") v.system = CheckedText(t.value, "system");
        else if (t.key == "group") v.group = CheckedText(t.value, "group");
        else if (t.key == "talkgroup") v.talkgroup = CheckedText(t.value, "talkgroup");
        else if (t.key == "level") v.level = CheckedLevel(t.value);
        else throw LineError("unknown step value '" + t.key + "'");
    }
    return step;
}

void ParseDirective(const std::vector<Token>& tokens, Scenario& scenario) {
    if (!tokens[0].key.empty()) throw LineError("a line starts with a directive, not '" + tokens[0].key + "='");
    const std::string& name = tokens[0].value;
    if (name == "delay") {
        NeedCount(tokens, 2, 2, "delay MS");
        scenario.scan_delay_ms = Milliseconds(tokens[1].value, 0, "delay");
    } else if (name == "once" || name == "loop") {
        NeedCount(tokens, 1, 1, name.c_str());
        scenario.once = name == "once";
    } else if (name == "step") {
        scenario.steps.push_back(ParseStep(tokens, scenario));
    } else if (name == "system") {
        NeedCount(tokens, 2, 2, "system NAME");
        scenario.systems.push_back({CheckedText(tokens[1].value, "system name"), {}});
    } else if (name == "group") {
        NeedCount(tokens, 2, 2, "group NAME");
        if (scenario.systems.empty()) throw LineError("group before any system");
        scenario.systems.back().groups.push_back({CheckedText(tokens[1].value, "group name"), {}});
    } else if (name == "channel") {
        NeedCount(tokens, 3, 4, "channel NAME DIGITS [FM|NFM|AM|AUTO]");
        if (scenario.systems.empty() || scenario.systems.back().groups.empty())
            throw LineError("channel before any group");
        StoredChannel channel{CheckedText(tokens[1].value, "channel name"), CheckedFrequency(tokens[2].value),
                              "AUTO"};
        if (tokens.size() == 4) {
            const std::string& mod = tokens[3].value;
            if (mod != "FM" && mod != "NFM" && mod != "AM" && mod != "AUTO")
                throw LineError("modulation must be FM, NFM, AM or AUTO");
            channel.modulation = mod;
        }
        scenario.systems.back().groups.back().channels.push_back(std::move(channel));
    } else {
        throw LineError("unknown directive '" + name + "'");
    }
}

}  // namespace

Scenario ParseScenario(const std::string& text, std::string* error) {
    Scenario scenario;
    const std::vector<std::string> lines = SplitFields(text, '\n');
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string line = lines[n];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        try {
            const std::vector<Token> tokens = Tokenize(line);
            if (!tokens.empty()) ParseDirective(tokens, scenario);
        } catch (const LineError& fault) {
            if (error) *error = "line " + std::to_string(n + 1) + ": " + fault.message;
            return Scenario{};
        }
    }
    if (error) error->clear();
    return scenario;
}

Scenario LoadScenarioFile(const std::string& path, std::string* error) {
    std::error_code failure;
    std::ifstream file;
    if (std::filesystem::is_regular_file(path, failure)) file.open(path, std::ios::binary);
    if (!file.is_open()) {
        if (error) *error = path + ": cannot read the file";
        return Scenario{};
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ParseScenario(text, error);
}

}  // namespace quorvane
