#pragma once
// Real local services for the feed and call tests and benchmark: an icecast2 server of
// Debian's package on a free port, and a small HTTP receiver that keeps every
// upload it is sent and answers with a status the test chooses.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QDir>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "QtTestApp.h"

namespace quorvane::test {

// A TCP port on 127.0.0.1 that was free a moment ago.
inline quint16 FreeLocalPort() {
    QTcpServer probe;
    probe.listen(QHostAddress("127.0.0.1"));
    return probe.serverPort();
}

// The whole body of a GET, or up to `most` bytes of a stream; empty when the
// server did not answer within the time.
inline QByteArray HttpGet(const QString& url, qint64 most = -1, int timeoutMs = 5000) {
    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(QUrl(url))));
    QByteArray body;
    WaitUntil([&] {
        body += reply->readAll();
        return reply->isFinished() || (most > 0 && body.size() >= most);
    }, timeoutMs);
    reply->abort();
    return body;
}

class Icecast {
public:
    static constexpr const char* kPassword = "hackme";

    Icecast() : port_(FreeLocalPort()) {}
    ~Icecast() { Stop(); }

    quint16 Port() const { return port_; }
    QString SourceUrl(const QString& mount, const QString& password = kPassword) const {
        return QString("icecast://source:%1@127.0.0.1:%2%3").arg(password).arg(port_).arg(mount);
    }
    QString StatusUrl() const { return QString("http://127.0.0.1:%1/status-json.xsl").arg(port_); }

    // Starts the server and waits for its status page; false (and why in
    // Error) when it does not come up.
    bool Start() {
        if (QStandardPaths::findExecutable("icecast2").isEmpty()) {
            error_ = "icecast2 is not installed (scripts/deps installs it)";
            return false;
        }
        // icecast2 refuses to run as root unless told whom to become: then
        // its log folder must be that user's.
        const bool root = ::geteuid() == 0;
        QFile::setPermissions(dir_.path(), QFile::permissions(dir_.path()) | QFile::ExeOther | QFile::ReadOther);
        const QString logs = dir_.filePath("log");
        QDir().mkpath(logs);
        if (root) QProcess::execute("chown", {"nobody:nogroup", logs});
        const QString config =
            QString("<icecast><limits><sources>4</sources></limits>"
                    "<authentication><source-password>%1</source-password>"
                    "<admin-user>admin</admin-user><admin-password>admin-%1</admin-password></authentication>"
                    "<hostname>127.0.0.1</hostname>"
                    "<listen-socket><port>%2</port><bind-address>127.0.0.1</bind-address></listen-socket>"
                    "<paths><basedir>/usr/share/icecast2</basedir><logdir>%3</logdir>"
                    "<webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot>"
                    "</paths><logging><errorlog>error.log</errorlog><loglevel>2</loglevel></logging>"
                    "<security><chroot>0</chroot>%4</security></icecast>\n")
                .arg(kPassword)
                .arg(port_)
                .arg(logs, root ? "<changeowner><user>nobody</user><group>nogroup</group></changeowner>" : "");
        QFile file(dir_.filePath("icecast.xml"));
        file.open(QIODevice::WriteOnly);
        file.write(config.toUtf8());
        file.close();
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start("icecast2", {"-c", file.fileName()});
        if (!server_.waitForStarted(5000) ||
            !WaitUntil([&] { return !HttpGet(StatusUrl(), -1, 1000).isEmpty() ||
                                    server_.state() == QProcess::NotRunning; }, 10000) ||
            server_.state() == QProcess::NotRunning) {
            error_ = "icecast2 did not start: " + server_.readAll().toStdString();
            return false;
        }
        return true;
    }
    void Stop() {
        if (server_.state() == QProcess::NotRunning) return;
        server_.terminate();
        if (!server_.waitForFinished(5000)) server_.kill();
        server_.waitForFinished(2000);
    }
    const std::string& Error() const { return error_; }

    // The status page's entry of a mount; empty when it is not live.
    QJsonObject Mount(const QString& mount) const {
        const QJsonValue sources = QJsonDocument::fromJson(HttpGet(StatusUrl())).object()["icestats"].toObject()["source"];
        const QJsonArray all = sources.isArray() ? sources.toArray() : QJsonArray{sources};
        for (const QJsonValue& source : all) {
            if (source.toObject()["listenurl"].toString().endsWith(mount)) return source.toObject();
        }
        return {};
    }

private:
    quint16 port_;
    QTemporaryDir dir_;
    QProcess server_;
    std::string error_;
};

// One upload as the receiver took it: the form's fields by name (the audio
// part's bytes under "audio").
using Upload = std::map<std::string, std::string>;

class CallReceiver : public QObject {
public:
    CallReceiver() {
        server_.listen(QHostAddress("127.0.0.1"));
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                auto buffer = std::make_shared<QByteArray>();
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                    *buffer += socket->readAll();
                    Take(socket, *buffer);
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString Url() const { return QString("http://127.0.0.1:%1/api/call-upload").arg(server_.serverPort()); }
    // The answer to the next uploads.
    void Answer(int status) { status_ = status; }
    // Uploads answered 2xx, in order.
    const std::vector<Upload>& Kept() const { return kept_; }
    int Tries() const { return tries_; }

private:
    void Take(QTcpSocket* socket, QByteArray& request) {
        const qsizetype headEnd = request.indexOf("\r\n\r\n");
        if (headEnd < 0) return;
        const QByteArray head = request.left(headEnd).toLower();
        const qsizetype at = head.indexOf("content-length:");
        const qsizetype length = at < 0 ? 0 : head.mid(at + 15, head.indexOf("\r\n", at) - at - 15).trimmed().toLongLong();
        if (request.size() < headEnd + 4 + length) return;
        ++tries_;
        if (status_ >= 200 && status_ < 300) kept_.push_back(Parse(request.mid(headEnd + 4, length)));
        request.clear();
        const QByteArray text = status_ < 300 ? "Call imported successfully" : "no";
        socket->write("HTTP/1.1 " + QByteArray::number(status_) + " X\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(text.size()) + "\r\nConnection: close\r\n\r\n" + text);
        socket->disconnectFromHost();
    }
    static Upload Parse(const QByteArray& body) {
        Upload upload;
        // The boundary, as the body's first line has it.
        const QByteArray boundary = body.left(body.indexOf("\r\n"));
        qsizetype from = body.indexOf(boundary);
        while (from >= 0) {
            const qsizetype next = body.indexOf(boundary, from + boundary.size());
            if (next < 0) break;
            const QByteArray part = body.mid(from + boundary.size() + 2, next - from - boundary.size() - 4);
            const qsizetype split = part.indexOf("\r\n\r\n");
            const QByteArray partHead = part.left(split);
            const qsizetype n = partHead.indexOf("name=\"");
            const QByteArray name = partHead.mid(n + 6, partHead.indexOf('"', n + 6) - n - 6);
            upload[name.toStdString()] = part.mid(split + 4).toStdString();
            from = next;
        }
        return upload;
    }

    QTcpServer server_;
    int status_ = 200;
    int tries_ = 0;
    std::vector<Upload> kept_;
};

}  // namespace quorvane::test
