#include "web/RemoteMessages.h"

#include <nlohmann/json.hpp>

#include "input/KeyTable.h"
#include "base/ScreenGlyphs.h"

namespace quorvane {
namespace {

// Members stay in the order written, so "type" leads every message.
using Json = nlohmann::ordered_json;

std::string Dump(const Json& message) {
    // Every text comes through the glyph mapping or from the window and is
    // valid UTF-8; a stray byte still gives a message, never an exception.
    return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::optional<Json> Parse(std::string_view text) {
    Json message = Json::parse(text, nullptr, false);
    if (message.is_discarded() || !message.is_object()) return std::nullopt;
    return message;
}

// The display box's lines: up to the first line end, then up to the next.
std::pair<std::string_view, std::string_view> DisplayLines(std::string_view box) {
    const auto take = [&box] {
        const size_t end = box.find_first_of("\r\n");
        const std::string_view line = box.substr(0, end);
        box.remove_prefix(end == std::string_view::npos ? box.size() : end);
        if (box.starts_with("\r\n")) {
            box.remove_prefix(2);
        } else if (!box.empty()) {
            box.remove_prefix(1);
        }
        return line;
    };
    const std::string_view first = take();
    return {first, take()};
}

// The seven fields of a row as UTF-8 screen text.
Json RowJson(const LogRow& row) {
    Json fields = Json::array();
    for (const std::string& field : row.Fields) fields.push_back(ScreenTextUtf8(field));
    return fields;
}

PageRequest Refused(std::string reason, std::string key = {}) {
    PageRequest request;
    request.key = std::move(key);
    request.reason = std::move(reason);
    return request;
}

}  // namespace

DisplayFrame MakeDisplayFrame(std::string_view displayBox, std::string_view freqBox, const IconRows& icons, bool hit) {
    const auto [line1, line2] = DisplayLines(displayBox);
    return {ScreenTextUtf8(line1), ScreenTextUtf8(line2), ScreenTextUtf8(freqBox),
            ScreenTextUtf8(icons.Row1), ScreenTextUtf8(icons.Row2), hit};
}

std::string DisplayMessage(const DisplayFrame& frame) {
    Json message;
    message["type"] = "display";
    message["line1"] = frame.line1;
    message["line2"] = frame.line2;
    message["freq"] = frame.freq;
    message["icons1"] = frame.icons1;
    message["icons2"] = frame.icons2;
    message["hit"] = frame.hit;
    return Dump(message);
}

std::optional<DisplayFrame> ReadDisplayMessage(std::string_view json) {
    const auto message = Parse(json);
    if (!message || message->value("type", Json()) != "display") return std::nullopt;
    DisplayFrame frame;
    for (const auto& [name, text] : {std::pair{"line1", &frame.line1}, std::pair{"line2", &frame.line2},
                                     std::pair{"freq", &frame.freq}, std::pair{"icons1", &frame.icons1},
                                     std::pair{"icons2", &frame.icons2}}) {
        const auto member = message->find(name);
        if (member == message->end() || !member->is_string()) return std::nullopt;
        *text = member->get<std::string>();
    }
    const auto hit = message->find("hit");
    if (hit == message->end() || !hit->is_boolean()) return std::nullopt;
    frame.hit = hit->get<bool>();
    return frame;
}

std::string HelloMessage(RemoteRole role) {
    Json message;
    message["type"] = "hello";
    message["version"] = kRemoteProtocolVersion;
    message["role"] = RoleName(role);
    return Dump(message);
}

std::string StatusMessage(std::string_view text) {
    Json message;
    message["type"] = "status";
    message["text"] = text;
    return Dump(message);
}

std::string LatchesMessage(bool functionHeld, bool reverseHeld) {
    Json held = Json::array();
    if (functionHeld) held.push_back("key_f");
    if (reverseHeld) held.push_back("key_rev");
    Json message;
    message["type"] = "latches";
    message["held"] = std::move(held);
    return Dump(message);
}

std::string LogMessage(const LogGridRows& rows) {
    Json message;
    message["type"] = "log";
    message["columns"] = std::vector<std::string_view>(kLogGridHeadings.begin(), kLogGridHeadings.end());
    Json list = Json::array();
    Json marked = Json::array();
    for (size_t r = 0; r < rows.Size(); ++r) {
        list.push_back(RowJson(rows.Row(r)));
        if (rows.Marked(r)) marked.push_back(r);
    }
    message["rows"] = std::move(list);
    message["alerts"] = std::move(marked);
    return Dump(message);
}

std::string HitMessage(const LogRow& row, bool alert) {
    Json message;
    message["type"] = "hit";
    message["row"] = RowJson(row);
    message["alert"] = alert;
    return Dump(message);
}

std::string SoundMessage(bool on, std::string_view reason) {
    Json message;
    message["type"] = "sound";
    message["on"] = on;
    message["reason"] = reason;
    return Dump(message);
}

PageRequest ReadPageMessage(std::string_view json, RemoteRole role) {
    if (json.size() > kMaxPageMessageBytes) return Refused("Not a message");
    const auto message = Parse(json);
    if (!message) return Refused("Not a message");
    const Json type = message->value("type", Json());
    if (type == "key") {
        const Json key = message->value("key", Json());
        if (!key.is_string()) return Refused("Unknown key");
        const std::string name = key.get<std::string>();
        if (FindKey(name) == nullptr) return Refused("Unknown key", name.substr(0, 40));
        if (!MayPressKeys(role)) return Refused("View only", name);
        PageRequest request;
        request.kind = PageRequest::Kind::Key;
        request.key = name;
        return request;
    }
    if (type == "listen") {
        const Json on = message->value("on", Json());
        if (!on.is_boolean()) return Refused("Unknown message");
        PageRequest request;
        request.kind = PageRequest::Kind::Listen;
        request.listen = on.get<bool>();
        return request;
    }
    return Refused("Unknown message");
}

std::string RefusedMessage(const PageRequest& request) {
    Json message;
    message["type"] = "refused";
    message["key"] = request.key;
    message["reason"] = request.reason;
    return Dump(message);
}

}  // namespace quorvane
