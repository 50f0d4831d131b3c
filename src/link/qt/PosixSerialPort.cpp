#include "link/qt/PosixSerialPort.h"

#include "link/PortHolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace quorvane {
namespace {

speed_t SpeedCode(int baud) {
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
    }
}

std::string Reason(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return "not found";
    case EBUSY:
    case EWOULDBLOCK: return "busy";
    case EACCES:
    case EPERM: return "permission denied";
    default: return std::strerror(error);
    }
}

}  // namespace

std::string PosixSerialPort::Open(const std::string& path, int baud) {
    Close();
    const speed_t speed = SpeedCode(baud);
    if (speed == 0) return "cannot run at " + std::to_string(baud) + " baud";
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // One program at a time on a scanner: another holder makes this "busy",
    // said with who it is.
    if (fd < 0) return errno == EBUSY ? BusyReason(FindPortHolder(path)) : Reason(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? BusyReason(FindPortHolder(path)) : Reason(error);
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return error == ENOTTY ? "is not a serial device" : Reason(error);
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return Reason(error);
    }
    ::ioctl(fd, TIOCEXCL);
    ::tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    return {};
}

void PosixSerialPort::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    unsent_.clear();
}

bool PosixSerialPort::Flush() {
    while (!unsent_.empty()) {
        const ssize_t written = ::write(fd_, unsent_.data(), unsent_.size());
        if (written > 0) {
            unsent_.erase(0, static_cast<size_t>(written));
        } else if (written < 0 && (errno == EAGAIN || errno == EINTR)) {
            return true;  // the rest goes with the next write or read
        } else {
            Close();
            return false;
        }
    }
    return true;
}

bool PosixSerialPort::Write(const std::string& bytes) {
    if (fd_ < 0) return false;
    unsent_ += bytes;
    return Flush();
}

void PosixSerialPort::Drain(int waitMs) {
    for (int waited = 0; fd_ >= 0 && !unsent_.empty() && waited < waitMs; waited += 10) {
        pollfd watch{fd_, POLLOUT, 0};
        ::poll(&watch, 1, 10);
        if (!Flush()) return;
    }
}

bool PosixSerialPort::Waiting(int& count) {
    count = 0;
    if (fd_ < 0 || !Flush()) return false;
    pollfd watch{fd_, POLLIN, 0};
    if (::poll(&watch, 1, 0) < 0) return errno == EINTR;
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0) waiting = 0;
    if (waiting == 0 && (watch.revents & (POLLHUP | POLLERR | POLLNVAL))) {
        Close();  // the device, or the other end of the line, is gone
        return false;
    }
    count = waiting;
    return true;
}

bool PosixSerialPort::ReadAll(std::string& bytes) {
    bytes.clear();
    if (fd_ < 0) return false;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got > 0) {
            bytes.append(chunk, static_cast<size_t>(got));
            // A short read took all there was: no second call to learn that.
            if (static_cast<size_t>(got) < sizeof chunk) return true;
        } else if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
            return true;
        } else if (got == 0) {
            return true;  // nothing more now (VMIN 0)
        } else {
            const bool readSomething = !bytes.empty();
            Close();
            return readSomething;
        }
    }
}

}  // namespace quorvane
