#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Who may use the browser remote, and for what.
//
// Every run has two tokens: the control token lets a page press keys, the
// view token only shows (display, log, sound, status). Each is 128 random
// bits written as 32 lower-case hex characters, or a fixed one from
// web_remote.txt. The token is the password: anyone who has the link has the
// remote.
//
// A request carries its token in the "token" query parameter (the page's own
// link, and the WebSocket address the page builds from it: a browser cannot
// set headers on a WebSocket) or in an "Authorization: Bearer" header (for
// scripts). When both are present the header counts. The page moves the
// token from its address into the tab's memory at once, so it stays out of
// the address bar, the history and any later request for the page; the page
// itself is served without a token (it holds nothing secret), while a wrong
// token is refused as everywhere. No cookie is set or
// read: a browser attaches cookies to requests that other sites' pages make,
// which is exactly the cross-site use the Origin rule keeps out, and cookies
// are kept per host and not per port, so two programs on one computer would
// overwrite each other's. With the token only in the link, a request made by
// another site's page has no token.
//
// The Origin rule: a WebSocket upgrade or a key request from a browser names
// the site of the page that makes it in its Origin header. It must be the
// site the remote page is served from: the same scheme (http, or https with
// TLS), host and port as the request's Host header. Anything else, "null"
// included, is refused, so no other web page can press keys even with a
// token. A request without an Origin comes from a program, not a browser,
// and only needs the token. The page itself is a plain navigation and has no
// Origin rule.
//
// The Host rule: the Origin rule alone is no help against DNS rebinding, where
// another site's name is made to point at this computer, so its page's
// requests carry its own name in both Origin and Host. Every request that
// names a host must name one of this computer's (OwnHostNames in the server:
// its addresses, "localhost", its host name, and the host_names of
// web_remote.txt); others are refused. A request without a Host header comes
// from a program, not a browser.

enum class RemoteRole { Control, View };

// The view role sees everything but may not press keys.
constexpr bool MayPressKeys(RemoteRole role) { return role == RemoteRole::Control; }
// "control" or "view", as the page is told.
std::string_view RoleName(RemoteRole role);

inline constexpr size_t kTokenBytes = 16;
inline constexpr size_t kTokenLength = 2 * kTokenBytes;

// The token for 16 random bytes: 32 lower-case hex characters.
std::string TokenText(std::span<const std::uint8_t, kTokenBytes> random);
// Whether a text has the form of a token (32 lower-case hex characters).
bool IsTokenText(std::string_view text);
// Equality that takes the same time wherever the first difference is, so the
// time an answer takes tells nothing about how much of a guess was right.
bool SameToken(std::string_view presented, std::string_view token);

struct AccessTokens {
    std::string control;
    std::string view;
};

// The tokens of a run: the fixed ones where given (web_remote.txt, already
// checked with IsTokenText), the rest from the 32 random bytes (the first 16
// for control, the last 16 for view). A fixed view token equal to the control
// token is not used, so a token always names one role.
AccessTokens ChooseTokens(const std::optional<std::string>& fixedControl, const std::optional<std::string>& fixedView,
                          std::span<const std::uint8_t, 2 * kTokenBytes> random);

enum class RequestKind {
    Page,    // GET of the page
    Socket,  // the WebSocket upgrade
    Key,     // a key pressed by an HTTP request
};

// What a request says about itself, as the server received it.
struct RequestFacts {
    RequestKind kind = RequestKind::Page;
    std::string_view query;                   // the URL's query without "?", percent-encoded as sent
    std::string_view authorization;           // the Authorization header, empty when absent
    std::optional<std::string_view> origin;   // the Origin header, nothing when absent
    std::string_view host;                    // the Host header ("host[:port]"), empty when absent
    bool tls = false;                         // the request came over TLS
};

struct AccessDecision {
    bool allowed = false;
    RemoteRole role = RemoteRole::View;  // the caller's role when allowed
    int status = 0;                      // when refused: 401 (no or wrong token) or 403 (other site, view only)
    std::string reason;                  // when refused: a short text for the answer's body and the log

    static AccessDecision Allow(RemoteRole role) { return {true, role, 0, {}}; }
    static AccessDecision Deny(int status, std::string reason) {
        return {false, RemoteRole::View, status, std::move(reason)};
    }
    friend bool operator==(const AccessDecision&, const AccessDecision&) = default;
};

// The names (and addresses) this computer answers to, lower case, an IPv6
// address in brackets ("[::1]"), without a port.
using HostNames = std::vector<std::string>;

// The decision for a request: the Host and Origin rules first (so another
// site learns nothing about a token it guesses), then the token, then what
// the role may do (a key request needs the control role).
AccessDecision Decide(const RequestFacts& request, const AccessTokens& tokens, const HostNames& ownHosts);

// Whether a Host header ("host[:port]") names one of ownHosts; an absent
// (empty) header does. A name's one trailing dot is not part of it.
bool IsOwnHost(std::string_view host, const HostNames& ownHosts);

// The value of a query parameter, percent-decoded ("+" is a blank); the first
// one when it appears more than once; nothing when absent.
std::optional<std::string> QueryParameter(std::string_view query, std::string_view name);

// Whether an Origin header names the site that a request with this Host
// header reached (scheme from tls, default ports 80 and 443).
bool SameSite(std::string_view origin, std::string_view host, bool tls);

// Headers for every answer of the server: nothing is cached or passed on
// (the token is in the link), no other site may frame the page, and the page
// may load nothing and talk to nothing but its own server.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kRemoteResponseHeaders = {{
    {"Cache-Control", "no-store"},
    {"Referrer-Policy", "no-referrer"},
    {"X-Content-Type-Options", "nosniff"},
    {"X-Frame-Options", "DENY"},
    {"Content-Security-Policy",
     "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; connect-src 'self'; "
     "img-src data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
}};

}  // namespace quorvane
