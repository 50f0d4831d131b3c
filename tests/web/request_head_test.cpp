#include "web/RequestHead.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using State = HeadReading::State;
using namespace std::string_literals;

TEST(RequestHead, ReadsWhatTheRemoteDecidesOnAndRefusesWhatReadsTwoWays) {
    const std::string socket =
        "GET /ws?token=ab%20c HTTP/1.1\r\nHost: pi:8731\r\nUpgrade: WebSocket\r\nConnection: Upgrade\r\n"
        "Origin: http://pi:8731\r\nSec-WebSocket-Key: x\r\n\r\n";
    struct Case {
        std::string bytes;
        State state;
        const char* path = "";
        bool webSocket = false;
    } cases[] = {
        {socket, State::Complete, "/ws", true},
        {socket + "extra bytes after the head", State::Complete, "/ws", true},
        {"POST /key HTTP/1.0\nhost:pi\nAuthorization:  Bearer t \n\n", State::Complete, "/key"},
        {"GET / HTTP/1.1\r\nUpgrade: h2c, websocket\r\n\r\n", State::Complete, "/", true},
        {socket.substr(0, socket.size() - 2), State::Incomplete},
        {"GET / HTTP/1.1\r", State::Incomplete},
        {"", State::Incomplete},
        {std::string(kMostRequestHeadBytes, 'a'), State::TooLarge},
        {"GET / HTTP/1.1\r\nX: " + std::string(kMostRequestHeadBytes, 'a') + "\r\n\r\n", State::TooLarge},
        {"\r\nGET / HTTP/1.1\r\n\r\n", State::Malformed},
        {"GET /  HTTP/1.1\r\n\r\n", State::Malformed},
        {"GET http://pi/ HTTP/1.1\r\n\r\n", State::Malformed},
        {"GET / HTTP/2\r\n\r\n", State::Malformed},
        {"G(T / HTTP/1.1\r\n\r\n", State::Malformed},
        {"GET /\x01 HTTP/1.1\r\n\r\n", State::Malformed},
        {"GET / HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n", State::Malformed},
        {"GET / HTTP/1.1\r\nOrigin: a\r\norigin: a\r\n\r\n", State::Malformed},
        {"GET / HTTP/1.1\r\nHost: a\r\n folded\r\n\r\n", State::Malformed},
        {"GET / HTTP/1.1\r\nNo colon\r\n\r\n", State::Malformed},
        {"GET / HTTP/1.1\r\nX: a\rb\r\n\r\n", State::Malformed},
        {"GET / HTTP/1.1\r\nX: a\rb", State::Malformed},
        {"GET / HTTP/1.1\r\nX: a\0b\r\n\r\n"s, State::Malformed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 60));
        const HeadReading reading = ReadRequestHead(c.bytes);
        EXPECT_EQ(reading.state, c.state);
        EXPECT_EQ(reading.head.path, c.path);
        EXPECT_EQ(reading.head.webSocket, c.webSocket);
    }
    const HeadReading reading = ReadRequestHead(socket + "more");
    EXPECT_EQ(reading.length, socket.size());
    EXPECT_EQ(reading.head.query, "token=ab%20c");
    EXPECT_EQ(reading.head.host, "pi:8731");
    EXPECT_EQ(reading.head.origin, "http://pi:8731");
    EXPECT_EQ(ReadRequestHead("POST /key HTTP/1.0\nAuthorization:  Bearer t \n\n").head.authorization, "Bearer t");
    EXPECT_FALSE(ReadRequestHead("GET / HTTP/1.1\r\n\r\n").head.origin.has_value());
}

TEST(RequestHead, OnlyTheThreeRequestsOfTheRemoteHaveAKind) {
    EXPECT_EQ(RemoteKindOf("GET", "/", false), RequestKind::Page);
    EXPECT_EQ(RemoteKindOf("GET", "/ws", true), RequestKind::Socket);
    EXPECT_EQ(RemoteKindOf("POST", "/key", false), RequestKind::Key);
    for (const auto& [method, path, webSocket] : {std::tuple{"GET", "/ws", false}, {"GET", "/", true},
                                                  {"GET", "/key", false}, {"POST", "/", false},
                                                  {"get", "/", false}, {"GET", "/index.html", false}}) {
        EXPECT_FALSE(RemoteKindOf(method, path, webSocket)) << method << " " << path;
    }
}

TEST(RequestHead, ARefusalIsAWholeAnswerThatClosesTheConnection) {
    const std::string answer = PlainAnswer(401, RefusalText("Token refused"));
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 401 Unauthorized\r\n"));
    EXPECT_NE(answer.find("\r\nX-Frame-Options: DENY\r\n"), std::string::npos);
    EXPECT_NE(answer.find("\r\nContent-Length: 35\r\nConnection: close\r\n\r\n"), std::string::npos);
    EXPECT_TRUE(answer.ends_with("\r\n\r\nQuorvane web remote: Token refused\n"));
}

}  // namespace
}  // namespace quorvane
