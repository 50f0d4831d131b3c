#pragma once
#include <string>

#include "Scenario.h"

namespace quorvane {

// The built-in demo radio: busy conventional and trunked traffic with scanning
// between the transmissions, and a stored memory of two systems, three groups
// and eight channels whose frequencies are those of the conventional traffic.
std::string DemoScenarioText();
Scenario DemoScenario();

}  // namespace quorvane
