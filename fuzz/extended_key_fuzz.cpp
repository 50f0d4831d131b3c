// The extended-info key and caption of any hit: pieces are the talkgroup
// system, the frequency shown, the system text and the talkgroup ID.
#include <algorithm>

#include "FuzzInput.h"
#include "extended/ExtendedInfo.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto pieces = fuzz::Pieces(data, size, 8);
    pieces.resize(4);
    ExtendedInfoSource source;
    source.GidSystem = pieces[0];
    source.FreqShown = pieces[1];
    source.SystemText = pieces[2];
    source.TalkgroupId = pieces[3];
    const std::string key = ExtendedInfoKey(source);
    ExtendedInfoCaption(source);
    // The key names a file inside the app folder: no part of it leads up.
    size_t start = 0;
    while (start <= key.size()) {
        const size_t end = std::min(key.find_first_of("/\\", start), key.size());
        fuzz::Require(key.substr(start, end - start) != "..");
        start = end + 1;
    }
    return 0;
}
