#pragma once
#include <QAbstractHttpServer>
#include <QByteArray>

namespace quorvane {

class RemoteServer;

// Qt's HTTP server for the page and the key requests: every request is
// decided on its own (Host, token, Origin, role) and answered with the
// remote's headers; nothing else is served.
class RemoteHttp final : public QAbstractHttpServer {
public:
    RemoteHttp(RemoteServer& server, QObject* parent);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest&, QTcpSocket*) override {}

private:
    RemoteServer& server_;
    QByteArray page_;
};

}  // namespace quorvane
