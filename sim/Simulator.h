#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "CommandLog.h"
#include "RadioState.h"
#include "Scenario.h"

namespace quorvane {

// How long the radio takes to clear its memory ("CLR"): about 10 s.
inline constexpr int kDefaultClearMs = 10000;

struct SimulatorOptions {
    int baud = 0;            // > 0: replies leave at the byte time of this speed (10 bits a byte)
    int reply_delay_ms = 0;  // every reply is held back this long
    std::string log_path;    // every command line received is appended here (empty: no log)
    int tcp_port = -1;       // >= 0: listen on 127.0.0.1 at this port (0: any free one) instead of a pseudo-terminal
    int clear_ms = kDefaultClearMs;  // "CLR" is answered this much later (the radio takes its time)
    int delete_ms = 0;       // "DSY", "DGR" and "DCH" are answered this much later (a slow delete)
    int orer_every = 0;      // > 0: every Nth record read (SIN, GIN, CIN, TIN, TFQ, TRN, MCP) answers "ORER"
};

// A simulated radio on a pseudo-terminal. The program under test opens
// SlavePath() as its serial port; the simulator reads the commands from the
// master side on its own thread and writes one CR-ended reply per command.
// With a TCP port it plays a radio shared on the network instead (ser2net's
// raw mode): one client at a time, and the next one after it leaves.
class Simulator {
public:
    // Opens the pseudo-terminal (slave in raw mode) and the command log;
    // throws std::runtime_error when either cannot be opened.
    explicit Simulator(const Scenario& scenario, SimulatorOptions options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // e.g. "/dev/pts/7"; valid from construction on (empty on TCP).
    const std::string& SlavePath() const { return slave_path_; }
    // The port listened on (0 on a pseudo-terminal).
    int TcpPort() const { return tcp_port_; }

    // Starts and stops answering on the simulator's thread.
    void Start();
    void Stop();

    // Milliseconds since the simulator was made (the radio's clock).
    SimTime Now() const;

    // The command lines received so far (the latest 100000 of them), without
    // their CR, in order.
    std::vector<std::string> ReceivedCommands() const;
    // Waits until at least count command lines have arrived in all; false at the timeout.
    bool WaitForCommands(std::size_t count, std::chrono::milliseconds timeout) const;
    // Replies (and raw writes) whose last byte has left so far.
    std::size_t RepliesWritten() const;

    void SetReplyDelay(int ms);
    void SetBaud(int baud);
    // Off: commands are still received and logged but nothing is answered or
    // done, like a radio that is switched off.
    void SetAnswering(bool answering);
    // Off: commands are left unread on the line, like a radio (or a program
    // in its place) that is stalled; they are read when it is switched on.
    void SetReading(bool reading);
    // Shows view in place of the scan until cleared (see RadioState).
    void SetOverride(std::optional<RadioView> view);
    // What the radio shows now.
    RadioView CurrentView();
    // Runs change on the radio state, e.g. to press a key on the radio itself.
    void ChangeState(const std::function<void(RadioState&, SimTime)>& change);
    // Writes bytes as they are (after any reply still on its way), e.g. a
    // garbled reply.
    void SendRaw(const std::string& bytes);

private:
    using Clock = std::chrono::steady_clock;

    // A reply on its way out; with a baud rate its bytes leave one by one.
    struct Outgoing {
        std::string bytes;
        std::size_t sent = 0;
        Clock::time_point start;
        Clock::duration byte_time{};
    };

    void Run();
    void ReadCommands();
    void HandleLine(const std::string& line);
    void Queue(std::string bytes, int extra_delay_ms = 0);
    // Writes whatever is due; returns when the next byte is due (or max()).
    Clock::time_point WriteDue();
    void Wake();
    void OpenPseudoTerminal();
    void Listen(int port);
    void AcceptClient();
    void DropClient();
    ssize_t WriteOut(const char* bytes, std::size_t size);

    int master_fd_ = -1;  // on TCP: the connected client, -1 while none
    int listen_fd_ = -1;
    int tcp_port_ = 0;
    int slave_fd_ = -1;  // kept open so the master stays usable between program runs
    int wake_read_fd_ = -1;
    int wake_write_fd_ = -1;
    std::string slave_path_;
    Clock::time_point origin_;

    mutable std::mutex mutex_;
    mutable std::condition_variable received_changed_;
    RadioState state_;
    SimulatorOptions options_;
    bool answering_ = true;
    std::atomic<bool> reading_{true};
    std::deque<std::string> received_;
    std::size_t received_count_ = 0;
    long reads_ = 0;  // record reads answered, for orer_every
    std::size_t replies_written_ = 0;
    CommandLog log_;
    std::deque<Outgoing> outgoing_;
    Clock::time_point wire_free_;

    std::string line_;  // command bytes read so far (simulator thread only)
    Clock::time_point master_quiet_until_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace quorvane
