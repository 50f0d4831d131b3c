#pragma once
#include <cstddef>
#include <string>

#include "memory/ScannerMemory.h"

namespace quorvane {

// Where a record sits, for messages: `system 2 "County" group 1 "Fire"
// channel 3 "Disp"`. Numbers count from 1 in the order of the lists; names
// are screen text (ScannerText) in quotes. Trunk frequencies have no name.
std::string PlaceStep(const char* label, std::size_t number, const std::string& nameBytes);
std::string PlaceStep(const char* label, std::size_t number);

std::string SystemPlace(std::size_t s, const System& system);
std::string GroupPlace(const std::string& systemPlace, std::size_t g, const Group& group, bool site);
std::string ChannelPlace(const std::string& groupPlace, std::size_t c, const Channel& channel);
std::string TalkgroupPlace(const std::string& groupPlace, std::size_t t, const Talkgroup& talkgroup);
std::string TrunkFrequencyPlace(const std::string& sitePlace, std::size_t f);

}  // namespace quorvane
