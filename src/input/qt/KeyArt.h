#pragma once
#include <QPixmap>
#include <QSize>

#include "input/KeyTable.h"

namespace quorvane {

// The released and pressed pictures of a key, drawn from its legend: a dark
// rubber key with a light legend; pressed, it sinks by a pixel and darkens.
QPixmap DrawKeyPicture(const KeyLegend& legend, QSize size, bool pressed);

}  // namespace quorvane
