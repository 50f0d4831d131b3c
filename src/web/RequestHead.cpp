#include "web/RequestHead.h"

#include <algorithm>

#include "web/RemoteMessages.h"
#include "base/AsciiCase.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

using State = HeadReading::State;

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// A header name or method: visible ASCII without the separators of HTTP.
bool IsTokenChar(char c) {
    return c > 0x20 && c < 0x7F && std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
}

// Whether a comma-separated header value holds word (any case).
bool ListHolds(std::string_view value, std::string_view word) {
    while (true) {
        const size_t comma = value.find(',');
        if (EqualsIgnoringCase(Trimmed(value.substr(0, comma)), word)) return true;
        if (comma == std::string_view::npos) return false;
        value.remove_prefix(comma + 1);
    }
}

// "GET /ws?token=... HTTP/1.1": exactly three parts, one blank apart.
bool ReadRequestLine(std::string_view line, RequestHead& head) {
    const size_t first = line.find(' ');
    const size_t last = line.rfind(' ');
    if (first == std::string_view::npos || first == last) return false;
    const std::string_view method = line.substr(0, first);
    const std::string_view target = line.substr(first + 1, last - first - 1);
    const std::string_view version = line.substr(last + 1);
    if (method.empty() || !std::all_of(method.begin(), method.end(), IsTokenChar)) return false;
    if (target.empty() || target.front() != '/') return false;
    if (std::any_of(target.begin(), target.end(), [](char c) { return c == ' ' || IsControl(c); })) return false;
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return false;
    head.method = std::string(method);
    const size_t mark = target.find('?');
    head.path = std::string(target.substr(0, mark));
    head.query = mark == std::string_view::npos ? std::string() : std::string(target.substr(mark + 1));
    return true;
}

// One "Name: value" line; the headers the remote decides on are kept, and
// each of them may be given once only.
bool ReadHeaderLine(std::string_view line, RequestHead& head, bool seen[4]) {
    if (line.front() == ' ' || line.front() == '\t') return false;  // a folded line
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos) return false;
    const std::string_view name = line.substr(0, colon);
    if (!std::all_of(name.begin(), name.end(), IsTokenChar)) return false;
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (std::any_of(value.begin(), value.end(), [](char c) { return c != '\t' && IsControl(c); })) return false;
    const std::string_view kept[] = {"host", "origin", "authorization", "upgrade"};
    for (int i = 0; i < 4; ++i) {
        if (!EqualsIgnoringCase(name, kept[i])) continue;
        if (seen[i]) return false;
        seen[i] = true;
        switch (i) {
        case 0: head.host = std::string(value); break;
        case 1: head.origin = std::string(value); break;
        case 2: head.authorization = std::string(value); break;
        case 3: head.webSocket = ListHolds(value, "websocket"); break;
        }
    }
    return true;
}

}  // namespace

HeadReading ReadRequestHead(std::string_view bytes) {
    // The head is kept only once it is complete.
    const auto ended = [](State state, RequestHead head = {}, size_t length = 0) {
        return HeadReading{state, std::move(head), length};
    };
    const std::string_view window = bytes.substr(0, kMostRequestHeadBytes);
    RequestHead head;
    bool seen[4] = {false, false, false, false};
    bool first = true;
    size_t at = 0;
    while (true) {
        const size_t end = window.find('\n', at);
        if (end == std::string_view::npos) {
            // A bare CR is never part of a line.
            const std::string_view partial = window.substr(at);
            const size_t cr = partial.find('\r');
            if (cr != std::string_view::npos && cr + 1 < partial.size()) return ended(State::Malformed);
            return ended(bytes.size() >= kMostRequestHeadBytes ? State::TooLarge : State::Incomplete);
        }
        std::string_view line = window.substr(at, end - at);
        if (line.ends_with('\r')) line.remove_suffix(1);
        at = end + 1;
        if (line.find('\r') != std::string_view::npos) return ended(State::Malformed);
        if (line.empty()) return first ? ended(State::Malformed) : ended(State::Complete, std::move(head), at);
        if (!(first ? ReadRequestLine(line, head) : ReadHeaderLine(line, head, seen))) return ended(State::Malformed);
        first = false;
    }
}

std::optional<RequestKind> RemoteKindOf(std::string_view method, std::string_view path, bool webSocket) {
    if (method == "GET" && path == kRemotePagePath && !webSocket) return RequestKind::Page;
    if (method == "GET" && path == kRemoteSocketPath && webSocket) return RequestKind::Socket;
    if (method == "POST" && path == kRemoteKeyPath && !webSocket) return RequestKind::Key;
    return std::nullopt;
}

RequestFacts FactsOf(const RequestHead& head, RequestKind kind, bool tls) {
    RequestFacts facts;
    facts.kind = kind;
    facts.query = head.query;
    facts.authorization = head.authorization;
    if (head.origin) facts.origin = std::string_view(*head.origin);
    facts.host = head.host;
    facts.tls = tls;
    return facts;
}

std::string_view StatusPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Content Too Large";
    case 431: return "Request Header Fields Too Large";
    case 503: return "Service Unavailable";
    default: return "Error";
    }
}

std::string PlainAnswer(int status, std::string_view text) {
    std::string answer = "HTTP/1.1 " + std::to_string(status) + " " + std::string(StatusPhrase(status)) + "\r\n";
    for (const auto& [name, value] : kRemoteResponseHeaders) {
        answer.append(name).append(": ").append(value).append("\r\n");
    }
    answer += "Content-Type: text/plain; charset=utf-8\r\n";
    answer += "Content-Length: " + std::to_string(text.size()) + "\r\n";
    answer += "Connection: close\r\n\r\n";
    answer.append(text);
    return answer;
}

std::string RefusalText(std::string_view reason) { return "Quorvane web remote: " + std::string(reason) + "\n"; }

}  // namespace quorvane
