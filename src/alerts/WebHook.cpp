#include "alerts/WebHook.h"
#include "base/AsciiCase.h"

#include <nlohmann/json.hpp>

namespace quorvane {
namespace {

constexpr size_t kDiscordMost = 2000;
constexpr size_t kPushoverTitleMost = 250;
constexpr size_t kPushoverMessageMost = 1024;

struct Prefix {
    std::string_view text;
    HookKind kind;
};
constexpr Prefix kPrefixes[] = {
    {"ntfy:", HookKind::Ntfy},
    {"discord:", HookKind::Discord},
    {"pushover:", HookKind::Pushover},
    {"json:", HookKind::Json},
};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// The URL without a kind's prefix, and the kind the prefix names.
std::pair<std::string_view, const Prefix*> WithoutPrefix(std::string_view url) {
    const std::string lower = LowerAscii(url.substr(0, 10));
    for (const Prefix& prefix : kPrefixes) {
        // "json:" alone could begin nothing but a prefix; a scheme follows it.
        if (StartsWith(lower, prefix.text) && !StartsWith(url.substr(prefix.text.size()), "//")) {
            return {url.substr(prefix.text.size()), &prefix};
        }
    }
    return {url, nullptr};
}

struct UrlParts {
    std::string_view scheme;  // "https"
    std::string_view host;    // lower case is not assumed
    std::string_view path;    // from the first "/" up to "?" (may be empty)
    std::string_view query;   // after "?"
};

UrlParts Split(std::string_view url) {
    UrlParts parts;
    const size_t scheme = url.find("://");
    size_t at = 0;
    // A scheme is letters, digits, "+", "-" and "."; anything else before "://" is no scheme.
    const bool isScheme = scheme != std::string_view::npos && scheme > 0 &&
                          url.substr(0, scheme).find_first_not_of(
                              "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.") == std::string_view::npos;
    if (isScheme) {
        parts.scheme = url.substr(0, scheme);
        at = scheme + 3;
    }
    const size_t hostEnd = url.find_first_of("/?#", at);
    parts.host = url.substr(at, hostEnd == std::string_view::npos ? std::string_view::npos : hostEnd - at);
    if (const size_t credentials = parts.host.rfind('@'); credentials != std::string_view::npos) {
        parts.host = parts.host.substr(credentials + 1);
    }
    if (hostEnd == std::string_view::npos) return parts;
    const size_t question = url.find('?', hostEnd);
    parts.path = url.substr(hostEnd, question == std::string_view::npos ? std::string_view::npos : question - hostEnd);
    if (question != std::string_view::npos) parts.query = url.substr(question + 1);
    if (const size_t hash = parts.query.find('#'); hash != std::string_view::npos) parts.query = parts.query.substr(0, hash);
    return parts;
}

std::string HostName(std::string_view host) {
    const size_t colon = host.rfind(':');
    return LowerAscii(colon == std::string_view::npos || host.find(']') != std::string_view::npos ? host
                                                                                            : host.substr(0, colon));
}

bool HostIs(std::string_view host, std::string_view name) {
    const std::string lower = HostName(host);
    return lower == name || (lower.size() > name.size() && lower.ends_with(std::string(".") + std::string(name)));
}

// Cut to at most `most` characters of UTF-8 without splitting one.
std::string CutUtf8(std::string text, size_t most) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++characters > most) {
            text.resize(i);
            break;
        }
    }
    return text;
}

std::string FormEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// The fields of a query, as written (Pushover's keys are plain letters and digits).
std::vector<std::pair<std::string, std::string>> QueryFields(std::string_view query) {
    std::vector<std::pair<std::string, std::string>> fields;
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view field = query.substr(0, amp);
        const size_t equals = field.find('=');
        if (equals != std::string_view::npos) {
            fields.emplace_back(std::string(field.substr(0, equals)), std::string(field.substr(equals + 1)));
        }
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return fields;
}

std::string Dumped(const nlohmann::json& json) {
    // Names are made valid UTF-8 before they get here; a stray byte is replaced, never thrown on.
    return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

HookKind KindOfHook(std::string_view url) {
    const auto [bare, prefix] = WithoutPrefix(url);
    if (prefix) return prefix->kind;
    const UrlParts parts = Split(bare);
    if (HostIs(parts.host, "ntfy.sh")) return HookKind::Ntfy;
    if ((HostIs(parts.host, "discord.com") || HostIs(parts.host, "discordapp.com")) &&
        StartsWith(parts.path, "/api/webhooks/")) {
        return HookKind::Discord;
    }
    if (HostIs(parts.host, "api.pushover.net")) return HookKind::Pushover;
    return HookKind::Json;
}

std::string AlertJson(const AlertFacts& facts) {
    return Dumped({{"title", facts.Title},
                   {"message", facts.Message},
                   {"reason", facts.Reason},
                   {"frequency", facts.Frequency},
                   {"talkgroup", facts.Talkgroup},
                   {"system", facts.System},
                   {"group", facts.Group},
                   {"channel", facts.Channel},
                   {"time", facts.Time}});
}

HookRequest MakeHookRequest(std::string_view url, const AlertFacts& facts) {
    HookRequest request;
    request.kind = KindOfHook(url);
    const std::string_view bare = WithoutPrefix(url).first;
    request.url = std::string(bare);
    switch (request.kind) {
    case HookKind::Ntfy:
        request.contentType = "text/plain; charset=utf-8";
        request.body = facts.Message;
        request.headers = {{"Title", facts.Title}, {"Tags", "radio"}, {"Priority", "high"}};
        break;
    case HookKind::Discord: {
        request.contentType = "application/json";
        const std::string content = "**" + facts.Title + "**\n" + facts.Message;
        request.body = Dumped({{"username", "Quorvane"}, {"content", CutUtf8(content, kDiscordMost)}});
        break;
    }
    case HookKind::Pushover: {
        request.contentType = "application/x-www-form-urlencoded";
        const UrlParts parts = Split(bare);
        // The keys travel in the body, never in the address.
        const size_t question = bare.find('?');
        request.url = std::string(bare.substr(0, question));
        std::string body;
        for (const auto& [name, value] : QueryFields(parts.query)) {
            if (name == "title" || name == "message") continue;
            body += name + "=" + value + "&";
        }
        body += "title=" + FormEncoded(CutUtf8(facts.Title, kPushoverTitleMost));
        body += "&message=" + FormEncoded(CutUtf8(facts.Message, kPushoverMessageMost));
        request.body = std::move(body);
        break;
    }
    case HookKind::Json:
        request.contentType = "application/json";
        request.body = AlertJson(facts);
        break;
    }
    return request;
}

std::string HookShownName(std::string_view url) {
    const UrlParts parts = Split(WithoutPrefix(url).first);
    std::string shown = parts.scheme.empty() ? std::string() : std::string(parts.scheme) + "://";
    shown += HostName(parts.host);
    const std::string_view path = parts.path.substr(0, parts.path.find('/', 1));
    shown += path;
    if (path.size() < parts.path.size() || !parts.query.empty()) shown += "/...";
    return shown;
}

}  // namespace quorvane
