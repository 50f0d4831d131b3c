#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The FCC's licence database server (its general-menu reports), plain http.
inline constexpr std::string_view kLicenceServer = "http://gullfoss2.fcc.gov";

// The state and territory codes of the direct-entry panels' lists, in list order.
inline constexpr std::array<std::string_view, 56> kStateCodes = {
    "AK", "AL", "AR", "AS", "AZ", "CA", "CO", "CT", "DC", "DE", "FL", "GA", "GU", "HI",
    "IA", "ID", "IL", "IN", "KS", "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO", "MP",
    "MS", "MT", "NC", "ND", "NE", "NH", "NJ", "NM", "NV", "NY", "OH", "OK", "OR", "PA",
    "PR", "RI", "SC", "SD", "TN", "TX", "UT", "VA", "VI", "VT", "WA", "WI", "WV", "WY"};

// The licence search for a typed frequency in the state at a list index, or
// nothing when the text has no ".". The frequency goes in exactly as typed
// (not padded, trimmed or encoded); an index outside the list (typed text,
// no choice) gives an empty state.
std::optional<std::string> LicenceLookupAddress(const std::string& typedFrequency, int stateIndex);

}  // namespace quorvane
