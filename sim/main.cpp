// quorvane-sim: plays a BC246T scanner on a pseudo-terminal or on a TCP port.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "DemoScenario.h"
#include "ScenarioParser.h"
#include "Simulator.h"

namespace {

// Waits for SIGTERM, SIGINT or SIGHUP (blocked in every thread), or until
// exit_after_ms has passed when it is not negative.
void WaitForEnd(const sigset_t& signals, int exit_after_ms) {
    using namespace std::chrono;
    const steady_clock::time_point deadline = steady_clock::now() + milliseconds(exit_after_ms);
    while (true) {
        if (exit_after_ms < 0) {
            if (sigwaitinfo(&signals, nullptr) >= 0) return;
            continue;
        }
        const nanoseconds left = deadline - steady_clock::now();
        if (left <= nanoseconds::zero()) return;
        const seconds whole = duration_cast<seconds>(left);
        const timespec wait{static_cast<time_t>(whole.count()), static_cast<long>((left - whole).count())};
        if (sigtimedwait(&signals, nullptr, &wait) >= 0) return;
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quorvane;
    std::string error;
    const SimCommandLine options = ParseSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!error.empty()) {
        std::fprintf(stderr, "quorvane-sim: %s\n%s", error.c_str(), kSimUsage);
        return 2;
    }
    Scenario scenario = options.demo ? DemoScenario() : LoadScenarioFile(options.scenario_path, &error);
    if (options.capacity >= 0) scenario.memory_capacity = static_cast<std::size_t>(options.capacity);
    if (options.plain_trunk) scenario.firmware_trunk_groups = false;
    if (!error.empty()) {
        std::fprintf(stderr, "quorvane-sim: %s\n", error.c_str());
        return 2;
    }

    // Blocked before the simulator's thread starts, so only WaitForEnd takes them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);  // a closed standard output must not end the radio

    try {
        Simulator simulator(scenario, {options.baud, options.reply_delay_ms, options.log_path, options.tcp_port, options.clear_ms,
                                       options.delete_ms, options.orer_every});
        if (!options.link_path.empty() && !PlaceLink(options.link_path, simulator.SlavePath(), &error)) {
            std::fprintf(stderr, "quorvane-sim: %s\n", error.c_str());
            return 1;
        }
        simulator.Start();
        if (options.tcp_port >= 0) std::printf("TCP 127.0.0.1:%d\n", simulator.TcpPort());
        else std::printf("PTY %s\n", simulator.SlavePath().c_str());
        std::fflush(stdout);
        WaitForEnd(signals, options.exit_after_ms);
        simulator.Stop();
        if (!options.link_path.empty()) RemoveLink(options.link_path, simulator.SlavePath());
    } catch (const std::exception& fault) {
        std::fprintf(stderr, "quorvane-sim: %s\n", fault.what());
        return 1;
    }
    return 0;
}
