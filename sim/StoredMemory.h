#pragma once
#include <map>
#include <string>
#include <vector>

#include "Scenario.h"

namespace quorvane {

// The radio's stored programming as the programming-mode commands read it:
// linked lists of systems, of the groups of each system and of the channels of
// each group. Every item sits at its own memory index, a decimal text; the
// indexes are spread out (never one apart) and "-1" marks the end of a list.
class StoredMemory {
public:
    explicit StoredMemory(const std::vector<StoredSystem>& systems);

    // Index of the first system, "-1" when none is stored.
    std::string FirstSystem() const;

    // Reply lines (no CR) to "SIN,<index>", "GIN,<index>" and "CIN,<index>";
    // an index that holds no such item gives "SIN,NG" / "GIN,NG" / "CIN,NG".
    std::string SystemReply(const std::string& index) const;
    std::string GroupReply(const std::string& index) const;
    std::string ChannelReply(const std::string& index) const;

private:
    // Reply line of each item by its index.
    std::map<std::string, std::string> systems_;
    std::map<std::string, std::string> groups_;
    std::map<std::string, std::string> channels_;
    std::string first_system_ = "-1";
};

}  // namespace quorvane
