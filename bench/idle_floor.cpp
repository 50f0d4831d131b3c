// The least a Qt window that polls a scanner can cost: an empty window of
// Quorvane's size that writes the same three requests every 100 ms and reads
// whatever came back, nothing else. idle_cpu_bench measures it beside
// Quorvane as the floor no 10 Hz poll in a Qt window gets under.
//   idle_floor --app-dir DIR      polls DIR/com1 at 57600 baud
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) return 2;
    const QByteArray port = QByteArray(argv[2]) + "/com1";
    const int fd = ::open(port.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return 1;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B57600);
    tcsetattr(fd, TCSANOW, &settings);
    QWidget window;
    window.resize(775, 558);
    window.show();
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, [fd] {
        char replies[512];
        while (::read(fd, replies, sizeof replies) > 0) {
        }
        static const char kRequests[] = "STS\rGID\rWIN\r";
        if (::write(fd, kRequests, sizeof kRequests - 1) < 0) QApplication::exit(1);
    });
    poll.start();
    return app.exec();
}
