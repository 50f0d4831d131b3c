#include "Simulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "Respond.h"

namespace quorvane {
namespace {

// A command line longer than this without a CR is garbage and dropped.
constexpr std::size_t kLongestCommand = 4096;
// Commands kept for ReceivedCommands; a demo left running for days must not grow without end.
constexpr std::size_t kKeptCommands = 100000;
// Output not taken by any reader is dropped beyond this, oldest first.
constexpr std::size_t kMostPendingBytes = 1 << 16;

std::runtime_error SystemFault(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

Simulator::Simulator(const Scenario& scenario, SimulatorOptions options)
    : origin_(Clock::now()), state_(scenario, 0), options_(std::move(options)), wire_free_(origin_),
      master_quiet_until_(origin_) {
    if (!options_.log_path.empty() && !log_.Open(options_.log_path))
        throw SystemFault("cannot open the log " + options_.log_path);
    if (options_.tcp_port >= 0) Listen(options_.tcp_port);
    else OpenPseudoTerminal();
    int wake[2];
    if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
        CloseFd(master_fd_);
        CloseFd(slave_fd_);
        CloseFd(listen_fd_);
        throw SystemFault("pipe");
    }
    wake_read_fd_ = wake[0];
    wake_write_fd_ = wake[1];
}

void Simulator::OpenPseudoTerminal() {
    if (::openpty(&master_fd_, &slave_fd_, nullptr, nullptr, nullptr) != 0) throw SystemFault("openpty");
    char name[256];
    if (::ptsname_r(master_fd_, name, sizeof name) != 0) {
        CloseFd(master_fd_);
        CloseFd(slave_fd_);
        throw SystemFault("ptsname");
    }
    slave_path_ = name;
    termios raw{};
    if (::tcgetattr(slave_fd_, &raw) == 0) {
        ::cfmakeraw(&raw);  // no CR to LF, no echo
        ::tcsetattr(slave_fd_, TCSANOW, &raw);
    }
    ::fcntl(master_fd_, F_SETFL, ::fcntl(master_fd_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_fd_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_fd_, F_SETFD, FD_CLOEXEC);
}

void Simulator::Listen(int port) {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listen_fd_ < 0) throw SystemFault("socket");
    const int on = 1;
    // A radio started again on the same port must not wait for old connections to time out.
    ::setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t size = sizeof address;
    if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listen_fd_, 1) != 0 ||
        ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        const std::runtime_error fault = SystemFault("cannot listen on 127.0.0.1:" + std::to_string(port));
        CloseFd(listen_fd_);
        throw fault;
    }
    tcp_port_ = ntohs(address.sin_port);
}

void Simulator::AcceptClient() {
    const int client = ::accept4(listen_fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (client < 0) return;
    const int on = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    master_fd_ = client;
    line_.clear();
}

void Simulator::DropClient() {
    CloseFd(master_fd_);
    std::lock_guard lock(mutex_);
    outgoing_.clear();  // replies for a client that left
}

ssize_t Simulator::WriteOut(const char* bytes, std::size_t size) {
    if (listen_fd_ >= 0) return ::send(master_fd_, bytes, size, MSG_NOSIGNAL);
    return ::write(master_fd_, bytes, size);
}

Simulator::~Simulator() {
    Stop();
    CloseFd(listen_fd_);
    CloseFd(master_fd_);
    CloseFd(slave_fd_);
    CloseFd(wake_read_fd_);
    CloseFd(wake_write_fd_);
}

void Simulator::Start() {
    if (thread_.joinable()) return;
    stopping_ = false;
    thread_ = std::thread([this] { Run(); });
}

void Simulator::Stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    Wake();
    thread_.join();
}

void Simulator::Wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_write_fd_, &byte, 1);
}

SimTime Simulator::Now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - origin_).count();
}

std::vector<std::string> Simulator::ReceivedCommands() const {
    std::lock_guard lock(mutex_);
    return {received_.begin(), received_.end()};
}

bool Simulator::WaitForCommands(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return received_changed_.wait_for(lock, timeout, [&] { return received_count_ >= count; });
}

std::size_t Simulator::RepliesWritten() const {
    std::lock_guard lock(mutex_);
    return replies_written_;
}

void Simulator::SetReplyDelay(int ms) {
    std::lock_guard lock(mutex_);
    options_.reply_delay_ms = std::max(ms, 0);
}

void Simulator::SetBaud(int baud) {
    std::lock_guard lock(mutex_);
    options_.baud = std::max(baud, 0);
}

void Simulator::SetAnswering(bool answering) {
    std::lock_guard lock(mutex_);
    answering_ = answering;
}

void Simulator::SetReading(bool reading) {
    reading_ = reading;
    Wake();
}

void Simulator::SetOverride(std::optional<RadioView> view) {
    std::lock_guard lock(mutex_);
    state_.SetOverride(std::move(view));
}

RadioView Simulator::CurrentView() {
    std::lock_guard lock(mutex_);
    return state_.View(Now());
}

void Simulator::ChangeState(const std::function<void(RadioState&, SimTime)>& change) {
    std::lock_guard lock(mutex_);
    change(state_, Now());
}

void Simulator::SendRaw(const std::string& bytes) {
    {
        std::lock_guard lock(mutex_);
        Queue(bytes);
    }
    Wake();
}

void Simulator::Queue(std::string bytes, int extra_delay_ms) {
    const Clock::time_point ready =
        Clock::now() + std::chrono::milliseconds(options_.reply_delay_ms + std::max(extra_delay_ms, 0));
    Outgoing out;
    out.start = std::max(ready, wire_free_);
    if (options_.baud > 0)
        out.byte_time = std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL) /
                                                                    options_.baud);
    wire_free_ = out.start + out.byte_time * static_cast<long>(bytes.size());
    out.bytes = std::move(bytes);
    outgoing_.push_back(std::move(out));
    std::size_t pending = 0;
    for (const Outgoing& o : outgoing_) pending += o.bytes.size() - o.sent;
    while (pending > kMostPendingBytes && outgoing_.size() > 1) {
        pending -= outgoing_.front().bytes.size() - outgoing_.front().sent;
        outgoing_.pop_front();
    }
}

void Simulator::Run() {
    while (!stopping_) {
        const Clock::time_point next_due = WriteDue();
        const Clock::time_point now = Clock::now();
        const bool master_quiet = now < master_quiet_until_;
        const Clock::time_point wake_at = std::min(next_due, master_quiet ? master_quiet_until_ : Clock::time_point::max());
        int timeout_ms = -1;
        if (wake_at != Clock::time_point::max()) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake_at - now).count();
            timeout_ms = static_cast<int>(std::clamp<long long>(wait, 0, 1000));
        }
        // A quiet master is left out of the poll (a hang-up would be reported at once, over and over),
        // and so is one the radio is not reading; a new client is taken when none is connected.
        const bool read_master = master_fd_ >= 0 && !master_quiet && reading_;
        pollfd fds[3] = {{wake_read_fd_, POLLIN, 0},
                         {read_master ? master_fd_ : -1, POLLIN, 0},
                         {listen_fd_ >= 0 && master_fd_ < 0 ? listen_fd_ : -1, POLLIN, 0}};
        if (::poll(fds, 3, timeout_ms) < 0 && errno != EINTR) break;
        if (fds[0].revents & POLLIN) {
            char drain[64];
            while (::read(wake_read_fd_, drain, sizeof drain) > 0) {
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) ReadCommands();
        if (fds[2].revents & POLLIN) AcceptClient();
    }
}

void Simulator::ReadCommands() {
    char buffer[1024];
    while (true) {
        const ssize_t got = ::read(master_fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got < 0 && errno == EAGAIN) return;
            // A network client that left makes room for the next one. On a pseudo-terminal
            // (EIO/hang-up) nobody has the other side open right now: look again shortly
            // instead of spinning on the same condition.
            if (listen_fd_ >= 0) DropClient();
            else master_quiet_until_ = Clock::now() + std::chrono::milliseconds(50);
            return;
        }
        for (ssize_t i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\r') {
                if (!line_.empty()) HandleLine(line_);
                line_.clear();
            } else if (c != '\n') {
                line_ += c;
                if (line_.size() > kLongestCommand) line_.clear();
            }
        }
    }
}

void Simulator::HandleLine(const std::string& line) {
    {
        std::lock_guard lock(mutex_);
        const SimTime now = Now();
        received_.push_back(line);
        if (received_.size() > kKeptCommands) received_.pop_front();
        ++received_count_;
        log_.Write(now, line);
        if (answering_) {
            std::string reply = Respond(state_, line, now);
            const std::string word = reply.substr(0, reply.find(','));
            if (options_.orer_every > 0 && line.find(',') == word.size() && line.find(',', word.size() + 1) == std::string::npos &&
                (word == "SIN" || word == "GIN" || word == "CIN" || word == "TIN" || word == "TFQ" || word == "TRN" ||
                 word == "MCP") &&
                ++reads_ % options_.orer_every == 0)
                reply = "ORER";  // the radio's receive overran: the read was not taken
            // Clearing the memory and deleting take the radio its time; replies after them wait behind them.
            const bool deleted = reply == "DSY,OK" || reply == "DGR,OK" || reply == "DCH,OK";
            Queue(reply + "\r", reply == "CLR,OK" ? options_.clear_ms : deleted ? options_.delete_ms : 0);
        }
    }
    received_changed_.notify_all();
}

Simulator::Clock::time_point Simulator::WriteDue() {
    std::lock_guard lock(mutex_);
    while (!outgoing_.empty()) {
        Outgoing& out = outgoing_.front();
        const Clock::time_point now = Clock::now();
        if (now < out.start + out.byte_time) return out.start + out.byte_time * static_cast<long>(out.sent + 1);
        std::size_t due = out.bytes.size();
        if (out.byte_time.count() > 0)
            due = std::min<std::size_t>(due, (now - out.start) / out.byte_time);
        if (master_fd_ < 0) {
            outgoing_.clear();  // no client to take it
            break;
        }
        if (due > out.sent) {
            const ssize_t written = WriteOut(out.bytes.data() + out.sent, due - out.sent);
            if (written < 0) {
                if (errno == EINTR) continue;
                // Nobody is taking the bytes (EAGAIN with a full buffer): try again shortly.
                return now + std::chrono::milliseconds(5);
            }
            out.sent += static_cast<std::size_t>(written);
        }
        if (out.sent < out.bytes.size()) return out.start + out.byte_time * static_cast<long>(out.sent + 1);
        outgoing_.pop_front();
        ++replies_written_;
    }
    return Clock::time_point::max();
}

}  // namespace quorvane
