#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

inline constexpr const char* kWebRemoteSettingsFile = "web_remote.txt";
inline constexpr std::string_view kDefaultWebAddress = "127.0.0.1";
inline constexpr int kDefaultWebPort = 8731;

// Where the remote listens: an IPv4 or IPv6 address (IPv6 without brackets)
// and a port.
struct ListenAddress {
    std::string address{kDefaultWebAddress};
    int port = kDefaultWebPort;

    friend bool operator==(const ListenAddress&, const ListenAddress&) = default;
};

// web_remote.txt in the app folder: 8-bit text, one "name=value" a line, CR LF
// (a lone LF reads too), "#" lines are comments. Blanks around names and
// values are dropped, and a value in double quotes loses them (a path with
// blanks at its ends). Written by the Settings tab, fixed tokens and TLS by
// hand:
//
//   start=1                      the remote starts on every run (0: only with --web)
//   address=127.0.0.1            where it listens; 0.0.0.0 (or ::) for every network
//   port=8731
//   control_token=<32 hex>       a fixed token instead of a new one every run
//   view_token=<32 hex>
//   tls_certificate=/path/cert.pem   both set: the remote is served over https
//   tls_key=/path/key.pem
//   host_names=scanner.lan pi    more names this computer is reached by (a
//                                browser's Host), besides its addresses,
//                                "localhost" and its host name
//
// A value that cannot be used keeps its default, which is the safe choice: not
// started, listening on this computer only, port 8731, a new random token,
// no TLS path. Each such line, a line that names nothing known and a line
// without "=" gives a notice, and the rest of the file still counts. When a
// name is given twice the later line counts. Paths are file-system bytes, as
// written.
struct WebRemoteSettings {
    bool start = false;
    ListenAddress listen;
    std::optional<std::string> controlToken;  // lower-case; nothing: random per run
    std::optional<std::string> viewToken;
    std::string tlsCertificate;
    std::string tlsKey;
    std::vector<std::string> hostNames;  // lower case, without a trailing dot
    // What was not used, one line each, e.g.
    // "web_remote.txt line 3: port \"99999\" is not 1 to 65535; 8731 is used".
    std::vector<std::string> notices;

    // TLS is on when both files are named. Only one of them is a mistake the
    // program must refuse to start the remote on, rather than serve the token
    // unencrypted to someone who asked for encryption.
    bool TlsOn() const { return !tlsCertificate.empty() && !tlsKey.empty(); }
    bool TlsHalfSet() const { return tlsCertificate.empty() != tlsKey.empty(); }
};

WebRemoteSettings ReadWebRemoteSettings(std::string_view bytes);
// The whole file's bytes (CR LF), every setting written; notices are not.
std::string WriteWebRemoteSettings(const WebRemoteSettings& settings);

// Whether a text is an IPv4 address (dotted quad) or an IPv6 address (without
// brackets, no zone).
bool IsIpAddress(std::string_view text);

// The argument of --web: "PORT", "ADDR:PORT" or "[IPv6]:PORT"; ADDR defaults
// to 127.0.0.1. On a bad argument the address is empty and error says why.
struct ListenArgument {
    std::optional<ListenAddress> listen;
    std::string error;
};
ListenArgument ParseListenArgument(std::string_view text);

// Whether an address listens on every network (0.0.0.0, ::), so the link to
// give out has to name one of the computer's own addresses instead.
bool IsEveryNetwork(std::string_view address);

// Whether an address is this computer's loopback (127.x.x.x, ::1): nobody
// else can reach it.
bool IsLoopback(std::string_view address);

// What to say when the remote listens where others can reach it without TLS:
// the token then travels in clear text; nothing for the loopback or TLS.
std::optional<std::string> ClearTextNotice(const ListenAddress& listen, bool tls);

// The page's link: http(s)://host:port/?token=..., an IPv6 host in brackets.
std::string RemoteUrl(std::string_view host, int port, bool tls, std::string_view token);

}  // namespace quorvane
