#include "StoredMemory.h"

#include "ReplyLine.h"

namespace quorvane {
namespace {

constexpr const char* kEnd = "-1";

// Hands out memory indexes in walk order, at uneven steps.
class IndexPlan {
public:
    std::string Take() {
        address_ += 32 + 16 * (count_++ % 5);
        return std::to_string(address_);
    }

private:
    long address_ = 12000;
    int count_ = 0;
};

std::string Neighbour(const std::vector<std::string>& indexes, std::size_t at, int step) {
    if (step < 0) return at == 0 ? kEnd : indexes[at - 1];
    return at + 1 < indexes.size() ? indexes[at + 1] : kEnd;
}

}  // namespace

StoredMemory::StoredMemory(const std::vector<StoredSystem>& systems) {
    IndexPlan plan;
    // Indexes first (in walk order), then the items with their links.
    std::vector<std::string> system_indexes;
    std::vector<std::vector<std::string>> group_indexes(systems.size());
    std::vector<std::vector<std::vector<std::string>>> channel_indexes(systems.size());
    for (std::size_t s = 0; s < systems.size(); ++s) {
        system_indexes.push_back(plan.Take());
        for (const StoredGroup& group : systems[s].groups) {
            group_indexes[s].push_back(plan.Take());
            channel_indexes[s].emplace_back();
            for (std::size_t c = 0; c < group.channels.size(); ++c) channel_indexes[s].back().push_back(plan.Take());
        }
    }
    if (!system_indexes.empty()) first_system_ = system_indexes.front();

    for (std::size_t s = 0; s < systems.size(); ++s) {
        const std::vector<std::string>& groups = group_indexes[s];
        const std::string group_head = groups.empty() ? kEnd : groups.front();
        const std::string group_tail = groups.empty() ? kEnd : groups.back();
        // SIN: type, name, quick key, hold, lockout, delay, 3 reserved,
        // previous system, next system, first group, last group, reserved.
        systems_[system_indexes[s]] = ReplyLine({"SIN", "CNV", systems[s].name, ".", "0", "0", "2", "0", "0", "0",
                                              Neighbour(system_indexes, s, -1), Neighbour(system_indexes, s, +1),
                                              group_head, group_tail, "0"});
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const StoredGroup& group = systems[s].groups[g];
            const std::vector<std::string>& channels = channel_indexes[s][g];
            // GIN: type, name, quick key, lockout, previous group, next group,
            // owning system, first channel, last channel.
            groups_[groups[g]] = ReplyLine({"GIN", "C", group.name, ".", "0", Neighbour(groups, g, -1),
                                         Neighbour(groups, g, +1), system_indexes[s],
                                         channels.empty() ? kEnd : channels.front(),
                                         channels.empty() ? kEnd : channels.back()});
            for (std::size_t c = 0; c < channels.size(); ++c) {
                const StoredChannel& channel = group.channels[c];
                // CIN: name, frequency, modulation, tone, tone lock, lockout,
                // priority, attenuator, alert, alert level, previous channel,
                // next channel, owning system, owning group.
                channels_[channels[c]] = ReplyLine({"CIN", channel.name, channel.frequency, channel.modulation,
                                                 "0", "0", "0", "0", "0", "0", "0",
                                                 Neighbour(channels, c, -1), Neighbour(channels, c, +1),
                                                 system_indexes[s], groups[g]});
            }
        }
    }
}

std::string StoredMemory::FirstSystem() const { return first_system_; }

std::string StoredMemory::SystemReply(const std::string& index) const {
    const auto found = systems_.find(index);
    return found == systems_.end() ? "SIN,NG" : found->second;
}

std::string StoredMemory::GroupReply(const std::string& index) const {
    const auto found = groups_.find(index);
    return found == groups_.end() ? "GIN,NG" : found->second;
}

std::string StoredMemory::ChannelReply(const std::string& index) const {
    const auto found = channels_.find(index);
    return found == channels_.end() ? "CIN,NG" : found->second;
}

}  // namespace quorvane
