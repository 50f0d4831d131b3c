#include "web/qt/RemoteHttp.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QSslSocket>
#include <QTcpSocket>

#include "web/AccessRules.h"
#include "web/RemoteMessages.h"
#include "web/RequestHead.h"
#include "web/qt/RemoteServer.h"

namespace quorvane {
namespace {

std::string Utf8(const QByteArray& bytes) { return std::string(bytes.constData(), static_cast<size_t>(bytes.size())); }

std::string_view MethodName(QHttpServerRequest::Method method) {
    switch (method) {
    case QHttpServerRequest::Method::Get: return "GET";
    case QHttpServerRequest::Method::Post: return "POST";
    default: return "OTHER";
    }
}

void Head(QHttpServerResponder& responder, int status, const QByteArray& type, qint64 length) {
    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(status));
    for (const auto& [name, value] : kRemoteResponseHeaders) {
        responder.writeHeader(QByteArray(name.data(), static_cast<qsizetype>(name.size())),
                              QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    }
    if (!type.isEmpty()) responder.writeHeader("Content-Type", type);
    if (length >= 0) responder.writeHeader("Content-Length", QByteArray::number(length));
}

bool Answer(QHttpServerResponder& responder, int status, const std::string& text) {
    Head(responder, status, "text/plain; charset=utf-8", static_cast<qint64>(text.size()));
    responder.writeBody(text.data(), static_cast<qint64>(text.size()));
    return true;
}

}  // namespace

RemoteHttp::RemoteHttp(RemoteServer& server, QObject* parent) : QAbstractHttpServer(parent), server_(server) {
    QFile page(":/web/remote.html");
    if (page.open(QIODevice::ReadOnly)) page_ = page.readAll();
}

bool RemoteHttp::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    QHttpServerResponder responder = makeResponder(request, socket);
    std::string host, authorization;
    std::optional<std::string> origin;
    bool twice = false;
    for (const auto& header : request.headers()) {
        const QByteArray name = header.first.toLower();
        const std::string value = Utf8(header.second.trimmed());
        if (name == "host") {
            twice = twice || !host.empty();
            host = value;
        } else if (name == "authorization") {
            twice = twice || !authorization.empty();
            authorization = value;
        } else if (name == "origin") {
            twice = twice || origin.has_value();
            origin = value;
        }
    }
    if (twice) return Answer(responder, 400, RefusalText("Malformed request"));
    const std::string query = Utf8(request.url().query(QUrl::FullyEncoded).toUtf8());
    const std::string path = Utf8(request.url().path(QUrl::FullyEncoded).toUtf8());
    const auto kind = RemoteKindOf(MethodName(request.method()), path, false);
    RequestFacts facts;
    facts.kind = kind.value_or(RequestKind::Page);
    facts.query = query;
    facts.authorization = authorization;
    if (origin) facts.origin = std::string_view(*origin);
    facts.host = host;
    facts.tls = qobject_cast<QSslSocket*>(socket) != nullptr;
    const AccessDecision decision = server_.DecideFor(facts);
    if (!decision.allowed) return Answer(responder, decision.status, RefusalText(decision.reason));
    if (!kind) return Answer(responder, 404, RefusalText("Not found"));
    if (*kind == RequestKind::Page) {
        Head(responder, 200, "text/html; charset=utf-8", page_.size());
        responder.writeBody(page_);
        return true;
    }
    const PageRequest asked = ReadPageMessage(Utf8(request.body()), decision.role);
    if (asked.kind == PageRequest::Kind::Key) {
        switch (server_.KeyFromScript(socket->peerAddress(), asked.key)) {
        case RemoteServer::KeyOutcome::Refused:
            return Answer(responder, 503, RefusalText("Scanner not running"));
        case RemoteServer::KeyOutcome::Full:
            return Answer(responder, 429, RefusalText("Too many keys queued"));
        case RemoteServer::KeyOutcome::Pressed:
        case RemoteServer::KeyOutcome::Queued:
            break;
        }
        Head(responder, 204, {}, -1);
        responder.writeBody(QByteArray());
        return true;
    }
    return Answer(responder, asked.reason == "View only" ? 403 : 400,
                  RefusalText(asked.kind == PageRequest::Kind::Listen ? "Not a key" : asked.reason));
}

}  // namespace quorvane
