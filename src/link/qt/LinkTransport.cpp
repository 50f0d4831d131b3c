#include "link/qt/LinkTransport.h"

namespace quorvane {

// Defined here so that the class's type information and meta-object live in one place.
LinkTransport::~LinkTransport() = default;

}  // namespace quorvane
