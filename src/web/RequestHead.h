#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "web/AccessRules.h"

namespace quorvane {

// The head of the first request on a new connection to the remote, read
// before the connection is handed on: to Qt's WebSocket server for an
// upgrade at /ws once its token and Origin have passed (so a socket is never
// opened for a caller that may not have one), otherwise to Qt's HTTP server,
// which checks each request again. Reading it here, with a size limit and a
// time limit kept by the server, also means a client cannot keep the program
// holding an endless or never-ending header.
//
// Only what the remote decides on is kept. A head is refused as malformed
// when it could be read two ways: a header the decision rests on (Host,
// Origin, Authorization, Upgrade) given twice, a folded header line, a line
// with no colon, a bare CR or a control byte in a name.
inline constexpr std::size_t kMostRequestHeadBytes = 8 * 1024;

struct RequestHead {
    std::string method;
    std::string path;                   // the target up to "?", as sent
    std::string query;                  // after "?", as sent (percent-encoded)
    std::string host;                   // the Host header
    std::string authorization;          // the Authorization header
    std::optional<std::string> origin;  // the Origin header, nothing when absent
    bool webSocket = false;             // "Upgrade: websocket"
};

struct HeadReading {
    enum class State {
        Incomplete,  // no empty line yet: wait for more bytes
        Complete,    // head holds the request; length is its size with the empty line
        TooLarge,    // no end within kMostRequestHeadBytes: answer 431
        Malformed,   // answer 400
    };
    State state = State::Incomplete;
    RequestHead head;
    std::size_t length = 0;
};

// Reads the head at the start of bytes (the request line and the header
// lines up to the first empty line; CR LF or a lone LF ends a line).
HeadReading ReadRequestHead(std::string_view bytes);

// Which of the remote's requests a method and path are (RemoteMessages.h):
// GET / is the page, GET /ws with the upgrade the socket, POST /key a key.
// Nothing for anything else, which is answered 404 once its token passed.
std::optional<RequestKind> RemoteKindOf(std::string_view method, std::string_view path, bool webSocket);

// The facts Decide needs about a head; they point into head.
RequestFacts FactsOf(const RequestHead& head, RequestKind kind, bool tls);

// A status's reason phrase ("Unauthorized"); "Error" for one not used here.
std::string_view StatusPhrase(int status);

// A whole answer with a short text body: the status line, the remote's
// headers (kRemoteResponseHeaders), the text's type and length, and
// "Connection: close" (the server closes the connection after it).
std::string PlainAnswer(int status, std::string_view text);

// The body of a refusal, readable where a page would have been:
// "Quorvane web remote: Token refused".
std::string RefusalText(std::string_view reason);

}  // namespace quorvane
