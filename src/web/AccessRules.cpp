#include "web/AccessRules.h"

#include <algorithm>
#include <charconv>
#include "base/Numbers.h"
#include "base/AsciiCase.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The token a request presents: the Bearer header, else the query parameter.
std::optional<std::string> PresentedToken(const RequestFacts& request) {
    const std::string_view header = Trimmed(request.authorization);
    constexpr std::string_view kBearer = "bearer ";
    if (header.size() > kBearer.size() && EqualsIgnoringCase(header.substr(0, kBearer.size()), kBearer)) {
        return std::string(Trimmed(header.substr(kBearer.size())));
    }
    return QueryParameter(request.query, "token");
}

struct Site {
    std::string host;  // lower case; an IPv6 address keeps its brackets
    int port = 0;
};

// "host[:port]" with the scheme's default port; nothing when malformed.
std::optional<Site> ParseAuthority(std::string_view text, int defaultPort) {
    if (text.empty()) return std::nullopt;
    Site site;
    std::string_view rest;
    if (text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        site.host = std::string(text.substr(0, close + 1));
        rest = text.substr(close + 1);
    } else {
        const size_t colon = text.find(':');
        site.host = std::string(text.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
    }
    if (site.host.empty() || site.host.find_first_of("/?#@ ") != std::string::npos) return std::nullopt;
    std::transform(site.host.begin(), site.host.end(), site.host.begin(), [](char c) { return LowerAscii(c); });
    site.port = defaultPort;
    if (!rest.empty()) {
        if (rest.front() != ':' || rest.size() < 2 || rest.size() > 6) return std::nullopt;
        const auto digits = rest.substr(1);
        const std::optional<long long> port = WholeNumber(digits, 1, 65535);
        if (!port) return std::nullopt;
        site.port = static_cast<int>(*port);
    }
    return site;
}

}  // namespace

std::string_view RoleName(RemoteRole role) { return role == RemoteRole::Control ? "control" : "view"; }

std::string TokenText(std::span<const std::uint8_t, kTokenBytes> random) {
    std::string text;
    text.reserve(kTokenLength);
    for (const std::uint8_t byte : random) {
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0F];
    }
    return text;
}

bool IsTokenText(std::string_view text) {
    return text.size() == kTokenLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool SameToken(std::string_view presented, std::string_view token) {
    // Every byte of the token is looked at whatever the presented text is;
    // only the token's length (public: always 32) shapes the time taken.
    unsigned difference = presented.size() == token.size() ? 0u : 1u;
    for (size_t i = 0; i < token.size(); ++i) {
        const char p = i < presented.size() ? presented[i] : 0;
        difference |= static_cast<unsigned char>(p ^ token[i]);
    }
    return difference == 0 && !token.empty();
}

AccessTokens ChooseTokens(const std::optional<std::string>& fixedControl, const std::optional<std::string>& fixedView,
                          std::span<const std::uint8_t, 2 * kTokenBytes> random) {
    AccessTokens tokens;
    tokens.control = fixedControl ? *fixedControl : TokenText(random.first<kTokenBytes>());
    tokens.view = fixedView && *fixedView != tokens.control ? *fixedView : TokenText(random.last<kTokenBytes>());
    if (tokens.view == tokens.control) {
        // Only when the random view token equals a fixed control token: no
        // token may name both roles, and the flipped bit keeps it unguessable.
        tokens.view[0] = tokens.view[0] == '0' ? '1' : '0';
    }
    return tokens;
}

std::optional<std::string> QueryParameter(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const size_t equals = pair.find('=');
        if (PercentDecoded(pair.substr(0, equals)) == name) {
            return equals == std::string_view::npos ? std::string() : PercentDecoded(pair.substr(equals + 1));
        }
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

bool SameSite(std::string_view origin, std::string_view host, bool tls) {
    const std::string_view scheme = tls ? "https://" : "http://";
    const int defaultPort = tls ? 443 : 80;
    if (origin.size() <= scheme.size() || !EqualsIgnoringCase(origin.substr(0, scheme.size()), scheme)) return false;
    const auto from = ParseAuthority(origin.substr(scheme.size()), defaultPort);
    const auto to = ParseAuthority(Trimmed(host), defaultPort);
    return from && to && from->host == to->host && from->port == to->port;
}

bool IsOwnHost(std::string_view host, const HostNames& ownHosts) {
    host = Trimmed(host);
    if (host.empty()) return true;
    auto site = ParseAuthority(host, 80);
    if (!site) return false;
    if (site->host.size() > 1 && site->host.back() == '.') site->host.pop_back();
    return std::find(ownHosts.begin(), ownHosts.end(), site->host) != ownHosts.end();
}

AccessDecision Decide(const RequestFacts& request, const AccessTokens& tokens, const HostNames& ownHosts) {
    if (!IsOwnHost(request.host, ownHosts)) return AccessDecision::Deny(403, "Unknown host name");
    if (request.kind != RequestKind::Page && request.origin && !SameSite(*request.origin, request.host, request.tls)) {
        return AccessDecision::Deny(403, "Other site");
    }
    const auto presented = PresentedToken(request);
    if (!presented || presented->empty()) {
        // The page holds nothing secret: without a token it is served (a
        // reload, once the page has taken the token out of the address bar),
        // and it can do nothing until it has one.
        if (request.kind == RequestKind::Page) return AccessDecision::Allow(RemoteRole::View);
        return AccessDecision::Deny(401, "Token missing");
    }
    // Both comparisons always run, so the time does not tell which role a
    // token nearly matched.
    const bool control = SameToken(*presented, tokens.control);
    const bool view = SameToken(*presented, tokens.view);
    if (!control && !view) return AccessDecision::Deny(401, "Token refused");
    const RemoteRole role = control ? RemoteRole::Control : RemoteRole::View;
    if (request.kind == RequestKind::Key && !MayPressKeys(role)) return AccessDecision::Deny(403, "View only");
    return AccessDecision::Allow(role);
}

}  // namespace quorvane
