#pragma once
#include <string>
#include <vector>

namespace quorvane {

// The options of quorvane-sim.
struct SimCommandLine {
    std::string scenario_path;  // --scenario FILE
    bool demo = false;          // --demo: the built-in scenario
    std::string link_path;      // --link PATH: symbolic link to the pty slave
    std::string log_path;       // --log FILE
    int baud = 0;               // --baud N
    int reply_delay_ms = 0;     // --reply-delay MS
    int exit_after_ms = -1;     // --exit-after MS (-1: run until a signal)
    int tcp_port = -1;          // --tcp PORT: listen on 127.0.0.1 instead of a pseudo-terminal (0: any free port)
    int clear_ms = 10000;       // --clear-ms MS: how long "CLR" takes
    int capacity = -1;          // --capacity N: records the memory holds (-1: the scenario's)
    int delete_ms = 0;          // --delete-ms MS: how long DSY, DGR and DCH take
    int orer_every = 0;         // --orer-every N: every Nth record read answers ORER (0: none)
    bool plain_trunk = false;   // --plain-trunk: CSY of a trunked type makes no frequency group
};

inline constexpr const char* kSimUsage =
    "usage: quorvane-sim (--scenario FILE | --demo) [--link PATH | --tcp PORT] [--log FILE]\n"
    "                    [--baud N] [--reply-delay MS] [--exit-after MS] [--clear-ms MS] [--capacity N]\n"
    "                    [--delete-ms MS] [--orer-every N] [--plain-trunk]\n";

// args without the program name. On a fault *error says what is wrong.
SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args, std::string* error);

// Makes path a symbolic link to target, replacing a link already there (but
// never a file that is not a link). False with *error on failure.
bool PlaceLink(const std::string& path, const std::string& target, std::string* error);
// Removes path if it is still a symbolic link to target.
void RemoveLink(const std::string& path, const std::string& target);

}  // namespace quorvane
