#include "tools/LicenceLookup.h"

#include "tools/Frequency.h"

namespace quorvane {

std::optional<std::string> LicenceLookupAddress(const std::string& typedFrequency, int stateIndex) {
    if (!HasPoint(typedFrequency)) return std::nullopt;
    const bool listed = stateIndex >= 0 && static_cast<std::size_t>(stateIndex) < kStateCodes.size();
    const std::string_view state = listed ? kStateCodes[static_cast<std::size_t>(stateIndex)] : "";
    return std::string(kLicenceServer) + "/cgi-bin/ws.exe/genmen/uls/freq_st_res.hts?db_id=19&rows=0&state=" +
           std::string(state) + "&freq=" + typedFrequency;
}

}  // namespace quorvane
