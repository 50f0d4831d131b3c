#pragma once
#include <string>
#include <string_view>

namespace quorvane {

// The two icon rows under the display (IconsSet1, IconsSet2).
struct IconRows {
    std::string Row1;
    std::string Row2;
    // The lit icons in words, for a screen reader: "System 1 3, Priority,
    // Narrow FM, Function"; empty when none is lit.
    std::string Spoken;
};

// Builds both rows from the icon flag fields of a status reply (fields 5 and
// 6). Only the character "1" lights an icon; any other character, and any
// position beyond the end of a short field, is dark. Characters after the
// 15th (row 1) and the 17th (row 2) are ignored, so the rows are always
// complete.
IconRows MakeIconRows(std::string_view flags1, std::string_view flags2);

}  // namespace quorvane
