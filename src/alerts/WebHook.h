#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

// What one alert says, as UTF-8 text, for the services it is sent to.
struct AlertFacts {
    std::string Title;      // the channel name, or the best name there is
    std::string Message;    // the names, frequency or talkgroup, one a line
    std::string Reason;     // "watched channel" or the tone page's name
    std::string System;
    std::string Group;
    std::string Channel;
    std::string Frequency;  // "154.4300" (MHz), empty when unknown
    std::string Talkgroup;  // the ID of a trunked hit, else empty
    std::string Time;       // when the alert went off, ISO 8601 with its offset
};

// The services a notify= URL can name. The kind is read from the address
// (ntfy.sh, discord.com/api/webhooks/..., api.pushover.net) or from a prefix
// before it ("ntfy:https://my.server/topic", also "discord:", "pushover:",
// "json:"); anything else is a generic web hook that takes JSON.
enum class HookKind { Ntfy, Discord, Pushover, Json };

// The HTTP POST that sends an alert to one web hook.
struct HookRequest {
    HookKind kind = HookKind::Json;
    std::string url;          // where it goes (the kind's prefix and Pushover's keys taken off)
    std::string contentType;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

HookKind KindOfHook(std::string_view url);

// The alert as one JSON object: title, message, reason, frequency (MHz
// text), talkgroup, system, group, channel and time. What a generic web hook
// and the MQTT broker get.
std::string AlertJson(const AlertFacts& facts);

// The request for one alert:
// - ntfy: the message as plain text, the title in a "Title" header, tagged
//   "radio" and sent at high priority;
// - Discord: {"username":"Quorvane","content":"**title**\nmessage"}, cut to
//   Discord's 2000 characters;
// - Pushover: the form fields token and user (from the URL's query:
//   https://api.pushover.net/1/messages.json?token=APP&user=USER), title and
//   message, cut to Pushover's 250 and 1024 characters;
// - generic: a JSON object with title, message, reason, frequency (MHz text),
//   talkgroup, system, group, channel and time.
HookRequest MakeHookRequest(std::string_view url, const AlertFacts& facts);

// A web hook's address with its secrets hidden, for messages on the screen:
// scheme, host and the first path segment, then "...".
std::string HookShownName(std::string_view url);

}  // namespace quorvane
