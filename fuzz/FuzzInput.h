#pragma once
// The fuzz targets read their input as pieces separated by line feeds: the
// scanner ends its lines with CR only, so a piece can hold any reply bytes,
// and a seed file stays readable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::fuzz {

inline std::vector<std::string> Pieces(const uint8_t* data, size_t size, size_t most = 4000) {
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < size && pieces.size() <= most; ++i) {
        if (data[i] == '\n') {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(static_cast<char>(data[i]));
        }
    }
    return pieces;
}

// A broken rule is a crash, so the fuzzer keeps the input.
inline void Require(bool rule) {
    if (!rule) __builtin_trap();
}

}  // namespace quorvane::fuzz
