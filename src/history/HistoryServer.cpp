#include "history/HistoryServer.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "base/Fields.h"
#include "base/Numbers.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

std::optional<int> PortNumber(std::string_view text) {
    const std::optional<long long> port = WholeNumber(text, 1, 65535);
    if (!port) return std::nullopt;
    return static_cast<int>(*port);
}

bool IsKeyword(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return (c >= 'a' && c <= 'z') || c == '_'; });
}

std::optional<ServerAddress> Fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return std::nullopt;
}

// A libpq connection-string value: bare when it can be, else in single
// quotes with backslash escapes.
std::string QuotedValue(std::string_view value) {
    if (!value.empty() && value.find_first_of(" '\\") == std::string_view::npos) return std::string(value);
    std::string out = "'";
    for (const char c : value) {
        if (c == '\'' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "'";
}

}  // namespace

std::optional<HistoryServerSettings> ReadHistoryServerFile(std::string_view bytes, std::string_view hostName,
                                                           std::string* error) {
    const std::vector<std::string> lines = SplitFields(bytes, '\n');
    const std::string_view url = Trimmed(lines[0], " \t\r");
    if (url.empty()) {
        if (error) *error = "its first line holds no server address";
        return std::nullopt;
    }
    std::string urlError;
    if (!ParseServerUrl(url, &urlError)) {
        if (error) *error = urlError;
        return std::nullopt;
    }
    std::string_view station = lines.size() > 1 ? Trimmed(lines[1], " \t\r") : std::string_view();
    if (station.empty()) station = Trimmed(hostName, " \t\r");
    return HistoryServerSettings{std::string(url), station.empty() ? "station" : std::string(station)};
}

std::string WriteHistoryServerFile(const HistoryServerSettings& settings) {
    return std::string(Trimmed(settings.Url, " \t\r")) + "\r\n" + std::string(Trimmed(settings.Station, " \t\r")) + "\r\n";
}

std::optional<ServerAddress> ParseServerUrl(std::string_view url, std::string* error) {
    constexpr std::string_view kSchemes[] = {"postgresql://", "postgres://"};
    std::string_view rest;
    for (const std::string_view scheme : kSchemes) {
        if (url.substr(0, scheme.size()) == scheme) rest = url.substr(scheme.size());
    }
    if (rest.data() == nullptr) return Fail(error, "the address does not begin with postgresql://");

    ServerAddress address;
    std::string_view query;
    if (const size_t mark = rest.find('?'); mark != std::string_view::npos) {
        query = rest.substr(mark + 1);
        rest = rest.substr(0, mark);
    }
    // As libpq reads it: the user part ends at the first "@" before any "/";
    // an "@", ":" or "/" in a name or password is written %40, %3A, %2F.
    const size_t slashOrAt = rest.find_first_of("@/");
    if (slashOrAt != std::string_view::npos && rest[slashOrAt] == '@') {
        const std::string_view userInfo = rest.substr(0, slashOrAt);
        rest = rest.substr(slashOrAt + 1);
        const size_t colon = userInfo.find(':');
        const auto user = PercentDecoded(userInfo.substr(0, colon));
        const auto password =
            PercentDecoded(colon == std::string_view::npos ? std::string_view() : userInfo.substr(colon + 1));
        if (!user || !password) return Fail(error, "the user name or password holds a bad %-escape");
        address.User = *user;
        address.Password = *password;
    }
    const size_t slash = rest.find('/');
    std::string_view hostPort = rest.substr(0, slash);
    if (slash != std::string_view::npos) {
        const auto database = PercentDecoded(rest.substr(slash + 1));
        if (!database) return Fail(error, "the database name holds a bad %-escape");
        address.Database = *database;
    }
    if (hostPort.find(',') != std::string_view::npos) return Fail(error, "give one server, not a list");
    std::string_view portText;
    if (!hostPort.empty() && hostPort.front() == '[') {
        const size_t close = hostPort.find(']');
        if (close == std::string_view::npos) return Fail(error, "an IPv6 address lacks its closing ]");
        address.Host = std::string(hostPort.substr(1, close - 1));
        const std::string_view after = hostPort.substr(close + 1);
        if (!after.empty() && after.front() != ':') return Fail(error, "unexpected text after the IPv6 address");
        if (!after.empty()) portText = after.substr(1);
        if (after.size() == 1) return Fail(error, "the port is missing after the colon");
    } else {
        const size_t colon = hostPort.find(':');
        const auto host = PercentDecoded(hostPort.substr(0, colon));
        if (!host) return Fail(error, "the host name holds a bad %-escape");
        address.Host = *host;
        if (colon != std::string_view::npos) {
            portText = hostPort.substr(colon + 1);
            if (portText.empty()) return Fail(error, "the port is missing after the colon");
        }
    }
    if (!portText.empty()) {
        const auto port = PortNumber(portText);
        if (!port) return Fail(error, "the port " + std::string(portText) + " is not a number from 1 to 65535");
        address.Port = *port;
    }

    for (const std::string& pair : query.empty() ? std::vector<std::string>{} : SplitFields(query, '&')) {
        if (pair.empty()) continue;
        const size_t equals = pair.find('=');
        const auto key = PercentDecoded(std::string_view(pair).substr(0, equals));
        const auto value =
            PercentDecoded(equals == std::string::npos ? std::string_view() : std::string_view(pair).substr(equals + 1));
        if (!key || !value || equals == std::string::npos) return Fail(error, "the parameter " + pair + " is not key=value");
        if (!IsKeyword(*key)) return Fail(error, "the parameter name " + *key + " is not a libpq parameter name");
        if (*key == "user") {
            address.User = *value;
        } else if (*key == "password") {
            address.Password = *value;
        } else if (*key == "host") {
            address.Host = *value;
        } else if (*key == "dbname") {
            address.Database = *value;
        } else if (*key == "port") {
            const auto port = PortNumber(*value);
            if (!port) return Fail(error, "the port " + *value + " is not a number from 1 to 65535");
            address.Port = *port;
        } else if (*key == "ssl" && *value == "true") {
            address.Parameters.emplace_back("sslmode", "require");  // as libpq reads the JDBC spelling
        } else {
            // Qt's driver turns every ";" of the options into a blank.
            if (value->find(';') != std::string::npos) return Fail(error, "the value of " + *key + " cannot hold a ;");
            address.Parameters.emplace_back(*key, *value);
        }
    }
    return address;
}

std::string ConnectOptions(const ServerAddress& address) {
    std::vector<std::pair<std::string, std::string>> options = address.Parameters;
    const std::pair<const char*, const char*> kDefaults[] = {
        {"connect_timeout", "5"},     {"tcp_user_timeout", "10000"}, {"keepalives_idle", "10"},
        {"keepalives_interval", "5"}, {"keepalives_count", "3"},     {"application_name", "Quorvane"},
    };
    for (const auto& option : kDefaults) {
        const std::string_view key = option.first;
        const bool given = std::any_of(options.begin(), options.end(), [key](const auto& set) { return set.first == key; });
        if (!given) options.emplace_back(option.first, option.second);
    }
    std::string text;
    for (const auto& [key, value] : options) {
        if (!text.empty()) text.push_back(';');
        text += key + "=" + QuotedValue(value);
    }
    return text;
}

std::string ServerName(const ServerAddress& address) {
    std::string name = address.User.empty() ? std::string() : address.User + "@";
    const bool ipv6 = address.Host.find(':') != std::string::npos;
    name += address.Host.empty() ? "localhost" : ipv6 ? "[" + address.Host + "]" : address.Host;
    if (address.Port != 0) name += ":" + std::to_string(address.Port);
    return name + "/" + address.Database;
}

namespace {

// Where the user part of an address lies: [begin, at) before its "@".
struct UserPart {
    size_t begin = 0, at = std::string_view::npos, colon = std::string_view::npos;
};
std::optional<UserPart> FindUserPart(std::string_view url) {
    const size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) return std::nullopt;
    UserPart part;
    part.begin = scheme + 3;
    const size_t slashOrAt = url.find_first_of("@/?", part.begin);
    if (slashOrAt == std::string_view::npos || url[slashOrAt] != '@') return part;  // no user part
    part.at = slashOrAt;
    const size_t colon = url.find(':', part.begin);
    if (colon < part.at) part.colon = colon;
    return part;
}

}  // namespace

std::optional<SplitPassword> SplitServerPassword(std::string_view url) {
    const auto part = FindUserPart(url);
    if (!part || part->colon == std::string_view::npos) return std::nullopt;
    const auto password = PercentDecoded(url.substr(part->colon + 1, part->at - part->colon - 1));
    if (!password) return std::nullopt;
    return SplitPassword{std::string(url.substr(0, part->colon)) + std::string(url.substr(part->at)), *password};
}

std::string WithServerPassword(std::string_view url, std::string_view password) {
    const auto part = FindUserPart(url);
    if (!part) return std::string(url);
    std::string escaped;
    for (const char c : password) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            escaped += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            escaped += hex;
        }
    }
    if (part->at == std::string_view::npos) {  // no user part yet: a password alone
        return std::string(url.substr(0, part->begin)) + ":" + escaped + "@" + std::string(url.substr(part->begin));
    }
    const size_t userEnd = part->colon == std::string_view::npos ? part->at : part->colon;
    return std::string(url.substr(0, userEnd)) + ":" + escaped + std::string(url.substr(part->at));
}

}  // namespace quorvane
