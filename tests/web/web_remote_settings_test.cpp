#include "web/WebRemoteSettings.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quorvane {
namespace {

constexpr const char* kControl = "0123456789abcdef0123456789abcdef";

TEST(WebRemoteSettingsFile, OddFilesKeepSafeDefaults) {
    struct Case {
        std::string bytes;
        bool start;
        ListenAddress listen;
        std::optional<std::string> control, view;
        size_t notices;
    } cases[] = {
        {"", false, {}, {}, {}, 0},
        {"start=1\naddress=0.0.0.0\nport=80\n", true, {"0.0.0.0", 80}, {}, {}, 0},
        {" # comment\r\n\r\nSTART = 1 \r\naddress=\"[::1]\"\r\n", true, {"::1", 8731}, {}, {}, 0},
        {"start=yes\r\n", false, {}, {}, {}, 1},
        {"port=99999\r\nport=0\r\nport=+80\r\nport=80x\r\n", false, {}, {}, {}, 4},
        {"port=81\r\nport=82\r\n", false, {"127.0.0.1", 82}, {}, {}, 0},
        {"address=localhost\r\naddress=256.1.1.1\r\naddress=010.0.0.1\r\naddress=1::2::3\r\n", false, {}, {}, {}, 4},
        {"address=fe80::1%eth0\r\naddress=1:2:3:4:5:6:7:8:9\r\n", false, {}, {}, {}, 2},
        {"address=::ffff:192.168.1.20\r\n", false, {"::ffff:192.168.1.20", 8731}, {}, {}, 0},
        {std::string("control_token=0123456789ABCDEF0123456789ABCDEF\r\nview_token=") + kControl + "\r\n", false, {},
         kControl, {}, 1},
        {"control_token=secret\r\nview_token=\r\n", false, {}, {}, {}, 1},
        {"garbage\r\n\x01\xff=\x80\r\ntls_key\r\n", false, {}, {}, {}, 3},
        {std::string("start=1\0\r\nport=8\xff\r\n", 19), false, {}, {}, {}, 2},
    };
    for (const Case& c : cases) {
        const WebRemoteSettings s = ReadWebRemoteSettings(c.bytes);
        EXPECT_EQ(s.start, c.start) << c.bytes;
        EXPECT_EQ(s.listen, c.listen) << c.bytes;
        EXPECT_EQ(s.controlToken, c.control) << c.bytes;
        EXPECT_EQ(s.viewToken, c.view) << c.bytes;
        EXPECT_EQ(s.notices.size(), c.notices) << c.bytes;
    }
    EXPECT_EQ(ReadWebRemoteSettings("port=99999").notices.at(0),
              "web_remote.txt line 1: port \"99999\" is not 1 to 65535; 8731 is used");
}

TEST(WebRemoteSettingsFile, WhatIsWrittenReadsBack) {
    WebRemoteSettings s;
    s.start = true;
    s.listen = {"::", 9000};
    s.controlToken = kControl;
    s.tlsCertificate = "/etc/ssl/h\xe9 cert.pem";
    s.tlsKey = " key.pem";
    s.hostNames = {"scanner.lan", "pi"};
    const std::string bytes = WriteWebRemoteSettings(s);
    EXPECT_NE(bytes.find("\r\nport=9000\r\n"), std::string::npos);
    const WebRemoteSettings back = ReadWebRemoteSettings(bytes);
    EXPECT_EQ(std::tie(back.start, back.listen, back.controlToken, back.viewToken, back.tlsCertificate, back.tlsKey,
                       back.hostNames),
              std::tie(s.start, s.listen, s.controlToken, s.viewToken, s.tlsCertificate, s.tlsKey, s.hostNames));
    EXPECT_TRUE(back.notices.empty());
    EXPECT_TRUE(back.TlsOn());
    EXPECT_TRUE(ReadWebRemoteSettings("tls_key=k.pem").TlsHalfSet());
}

TEST(WebRemoteSettingsFile, HostNamesAreListedByBlanksOrCommasAndOnlyNamesCount) {
    struct Case {
        const char* bytes;
        std::vector<std::string> names;
        size_t notices;
    } cases[] = {
        {"host_names=Scanner.LAN, pi.  radio-1", {"scanner.lan", "pi", "radio-1"}, 0},
        {"host_names=", {}, 0},
        {"host_names=a/b evil.example:80 ok", {"ok"}, 2},
        {"host_names=-x .y", {}, 2},
        {"host_names=a\r\nhost_names=b", {"b"}, 0},
    };
    for (const Case& c : cases) {
        const WebRemoteSettings s = ReadWebRemoteSettings(c.bytes);
        EXPECT_EQ(s.hostNames, c.names) << c.bytes;
        EXPECT_EQ(s.notices.size(), c.notices) << c.bytes;
    }
}

TEST(WebRemoteSettingsFile, ClearTextIsToldWhereverOthersCanReachThePortWithoutTls) {
    struct Case {
        const char* address;
        bool tls;
        bool told;
    } cases[] = {
        {"127.0.0.1", false, false}, {"127.1.2.3", false, false}, {"::1", false, false},
        {"0.0.0.0", false, true},    {"192.168.1.20", false, true}, {"::", false, true},
        {"fe80::1", false, true},    {"0.0.0.0", true, false},      {"128.0.0.1", false, true},
    };
    for (const Case& c : cases) {
        const auto notice = ClearTextNotice({c.address, 8731}, c.tls);
        EXPECT_EQ(notice.has_value(), c.told) << c.address << " " << c.tls;
        if (notice) EXPECT_NE(notice->find("clear text"), std::string::npos);
    }
}

TEST(WebArgument, AddressAndPort) {
    const std::pair<const char*, std::optional<ListenAddress>> cases[] = {
        {"8731", ListenAddress{"127.0.0.1", 8731}},
        {"0.0.0.0:80", ListenAddress{"0.0.0.0", 80}},
        {"[::]:8080", ListenAddress{"::", 8080}},
        {"[FE80::1]:1", ListenAddress{"fe80::1", 1}},
        {"::1:8731", std::nullopt},
        {"[::1]8731", std::nullopt},
        {"[::1", std::nullopt},
        {"host:8731", std::nullopt},
        {":8731", std::nullopt},
        {"1.2.3.4:", std::nullopt},
        {"65536", std::nullopt},
        {"0", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        const ListenArgument argument = ParseListenArgument(text);
        EXPECT_EQ(argument.listen, expected) << text;
        EXPECT_EQ(argument.error.empty(), expected.has_value()) << text;
    }
    EXPECT_EQ(RemoteUrl("::1", 8731, true, "ab"), "https://[::1]:8731/?token=ab");
    EXPECT_TRUE(IsEveryNetwork("::"));
    EXPECT_FALSE(IsEveryNetwork("::1"));
}

}  // namespace
}  // namespace quorvane
