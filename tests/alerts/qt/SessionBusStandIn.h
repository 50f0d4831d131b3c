#pragma once
// A session bus of a test's own (dbus-daemon) and a stand-in for the
// desktop's notification service on it, for the alert tests of the Qt side
// and of the real window.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/qt/AppFiles.h"

namespace quorvane {

// Its configuration names no service folders, so no notification daemon of
// the machine can be started on it. Address() is empty when it did not start.
class PrivateSessionBus {
public:
    PrivateSessionBus() {
        const QString config = dir_.filePath("bus.conf");
        if (!dir_.isValid() ||
            !WriteFileAtomically(config, "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                                         "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                         "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                                         "<auth>EXTERNAL</auth><policy context=\"default\">"
                                         "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                         "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                                         "</busconfig>\n")) {
            return;
        }
        const std::string command =
            "dbus-daemon --config-file=" + FileSystemBytes(config) + " --print-address=1 --print-pid=1 --fork";
        FILE* out = ::popen(command.c_str(), "r");
        if (!out) return;
        char address[512] = {}, pid[32] = {};
        const bool read = std::fgets(address, sizeof address, out) && std::fgets(pid, sizeof pid, out);
        ::pclose(out);
        if (!read) return;
        address[std::strcspn(address, "\n")] = '\0';
        address_ = QString::fromLocal8Bit(address);
        pid_ = std::atoi(pid);
    }
    ~PrivateSessionBus() {
        if (pid_ > 0) ::kill(pid_, SIGTERM);
    }
    const QString& Address() const { return address_; }
    // The session bus of everything in this process that asks for it from now on.
    void MakeTheSessionBus() const { ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.toLocal8Bit().constData(), 1); }

private:
    QTemporaryDir dir_;
    QString address_;
    int pid_ = 0;
};

// org.freedesktop.Notifications as the test's own object: counts the calls.
class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList summaries, bodies;
    QVariantMap hints;

public slots:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap& callHints, int) {
        summaries << summary;
        bodies << body;
        hints = callHints;
        return static_cast<uint>(summaries.size());
    }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion) {
        vendor = "Quorvane tests";
        version = "1";
        specVersion = "1.2";
        return "stand-in";
    }
};

}  // namespace quorvane
