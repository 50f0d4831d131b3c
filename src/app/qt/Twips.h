#pragma once
#include <QRect>

namespace quorvane {

// Positions and sizes are designed in twips: 15 twips to a pixel at 96 dpi
// (Qt scales the pixels for high-dpi screens).
constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

}  // namespace quorvane
