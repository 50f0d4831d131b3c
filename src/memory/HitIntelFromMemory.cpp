#include "memory/HitIntelFromMemory.h"

#include <vector>

namespace quorvane {

std::string HitIntelFromMemory(const ScannerMemory& memory) {
    std::vector<std::string> lines;
    for (const System& system : memory.systems) {
        for (const Group& group : system.groups) {
            for (const Channel& channel : group.channels) {
                lines.push_back(channel.fields[channel_field::Frequency] + '\t' + channel.fields[channel_field::Name] +
                                '\t' + group.fields[group_field::Name] + '\t' + system.fields[system_field::Name] +
                                "\r\n");
            }
        }
    }
    std::string file;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) file += *line;
    return file + "\r\n";
}

}  // namespace quorvane
