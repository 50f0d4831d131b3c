#include "program/qt/QuitSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvane {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int g_writeEnd = -1;
struct sigaction g_previous[sizeof(kSignals) / sizeof(kSignals[0])];

void OnSignal(int number) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // Non-blocking: with the socket full, a quit is already on its way.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, sockets_) != 0) {
        qWarning("No socket pair for the quit signals (%s); kill ends the program without saving.",
                 strerror(errno));
        return;
    }
    g_writeEnd = sockets_[1];
    notifier_ = new QSocketNotifier(sockets_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::ReadPending);

    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &g_previous[i]);
        if (g_previous[i].sa_handler != SIG_IGN) ::sigaction(kSignals[i], &action, nullptr);
    }
}

QuitSignals::~QuitSignals() {
    if (sockets_[0] < 0) return;
    for (size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &g_previous[i], nullptr);
    g_writeEnd = -1;
    ::close(sockets_[0]);
    ::close(sockets_[1]);
}

void QuitSignals::ReadPending() {
    unsigned char bytes[16];
    ssize_t count;
    while ((count = ::read(sockets_[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i) emit Received(bytes[i]);
    }
}

}  // namespace quorvane
