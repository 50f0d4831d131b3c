#include "link/Commands.h"

namespace quorvane {

std::string KeyCommand(char key, char mode) {
    return std::string("KEY,") + key + ',' + mode;
}

std::string TuneCommand(const std::string& digits, const std::string& modulation) {
    return "QSH," + digits + ",0," + modulation + ",0,.,.,.,.,.";
}

std::string SystemRequest(const std::string& index) { return "SIN," + index; }
std::string GroupRequest(const std::string& index) { return "GIN," + index; }
std::string ChannelRequest(const std::string& index) { return "CIN," + index; }

}  // namespace quorvane
