// What reaches the browser remote from the network: the first piece is a
// request's head as the door reads it, decided on for each kind of request;
// every further piece is a message from a page, read for either role. Rules:
// a head is only complete up to its empty line and within the size limit; a
// request is allowed only for one of this computer's host names, and only
// with one of the run's tokens (the page itself excepted, which holds nothing
// secret and is then served for viewing); a page message asks
// for a key of the key table only from the control role; every answer and
// refusal is whole.
#include "FuzzInput.h"
#include "input/KeyTable.h"
#include "web/RemoteMessages.h"
#include "web/RequestHead.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const AccessTokens tokens{"0123456789abcdef0123456789abcdef", "fedcba9876543210fedcba9876543210"};
    static const HostNames ownHosts{"localhost", "127.0.0.1", "[::1]", "shack"};
    const std::vector<std::string> pieces = fuzz::Pieces(data, size, 64);
    // The head is the first piece with its line ends put back.
    std::string head;
    for (char c : pieces[0]) head += c == '|' ? '\n' : c;

    const HeadReading reading = ReadRequestHead(head);
    if (reading.state == HeadReading::State::Complete) {
        fuzz::Require(reading.length <= head.size() && reading.length <= kMostRequestHeadBytes);
        fuzz::Require(head.compare(reading.length - 2, 2, "\n\n") == 0 ||
                      head.compare(reading.length - 3, 3, "\n\r\n") == 0);
        fuzz::Require(!reading.head.path.empty() && reading.head.path[0] == '/');
        for (const RequestKind kind : {RequestKind::Page, RequestKind::Socket, RequestKind::Key}) {
            for (const bool tls : {false, true}) {
                const RequestFacts facts = FactsOf(reading.head, kind, tls);
                const AccessDecision decision = Decide(facts, tokens, ownHosts);
                if (decision.allowed) {
                    fuzz::Require(IsOwnHost(facts.host, ownHosts));
                    const std::string& header = reading.head.authorization;
                    const std::string query = QueryParameter(reading.head.query, "token").value_or("");
                    const bool tokenShown = header.find(tokens.control) != std::string::npos ||
                                            header.find(tokens.view) != std::string::npos ||
                                            query == tokens.control || query == tokens.view;
                    fuzz::Require(tokenShown || (kind == RequestKind::Page && decision.role == RemoteRole::View));
                    fuzz::Require(kind != RequestKind::Key || decision.role == RemoteRole::Control);
                } else {
                    fuzz::Require(decision.status == 401 || decision.status == 403);
                    const std::string answer = PlainAnswer(decision.status, RefusalText(decision.reason));
                    fuzz::Require(answer.find("\r\n\r\n") != std::string::npos);
                }
            }
        }
    } else {
        fuzz::Require(reading.head.path.empty() && reading.length == 0);
    }

    for (size_t i = 1; i < pieces.size(); ++i) {
        for (const RemoteRole role : {RemoteRole::Control, RemoteRole::View}) {
            const PageRequest asked = ReadPageMessage(pieces[i], role);
            if (asked.kind == PageRequest::Kind::Key) {
                fuzz::Require(role == RemoteRole::Control && FindKey(asked.key) != nullptr);
            }
            if (asked.kind == PageRequest::Kind::Refused) {
                fuzz::Require(!asked.reason.empty() && !RefusedMessage(asked).empty());
            }
        }
    }
    return 0;
}
