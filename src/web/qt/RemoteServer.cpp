#include "web/qt/RemoteServer.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketServer>
#include <cstdio>
#include <utility>
#include <unistd.h>

#include "app/qt/AppFiles.h"
#include "web/RemoteMessages.h"
#include "web/RequestHead.h"
#include "web/qt/RemoteDoor.h"
#include "web/qt/RemoteHttp.h"
#include "web/qt/ThisComputer.h"

namespace quorvane {
namespace {

// web_remote.txt holds a few lines; anything far larger is not settings.
constexpr qint64 kMostSettingsBytes = 64 * 1024;
// A page's messages are small (RemoteMessages.h); a socket sending more in
// one message or frame is closed by the WebSocket itself.
constexpr qint64 kMostIncomingBytes = 4 * kMaxPageMessageBytes;

std::string Utf8(const QByteArray& bytes) { return std::string(bytes.constData(), static_cast<size_t>(bytes.size())); }

template <typename Socket>
std::pair<QString, quint16> PeerOf(const Socket* socket) {
    return {socket->peerAddress().toString(), socket->peerPort()};
}

// The file the control link of the running remote is written to.
constexpr const char* kLinkFile = "web_remote_link.txt";

// Writes a file that holds a token: readable and writable by the user only,
// from the moment it exists.
bool WritePrivateFile(const QString& path, const std::string& bytes, QString* error) {
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                             static_cast<qint64>(bytes.size()) &&
                         file.commit();
    if (!written && error) *error = file.errorString();
    return written;
}

}  // namespace


RemoteServer::RemoteServer(QString appDirectory, RemoteHost host, QObject* parent)
    : QObject(parent), appDirectory_(std::move(appDirectory)), host_(std::move(host)) {
    // The run's random tokens: the same for every start in this run.
    QRandomGenerator::system()->generate(random_.begin(), random_.end());
    clock_.start();
    keyTimer_ = new QTimer(this);
    keyTimer_->setSingleShot(true);
    connect(keyTimer_, &QTimer::timeout, this, [this] { PlayKeys(); });
}

RemoteServer::~RemoteServer() {
    host_ = {};  // the program it served may be gone already
    Stop();
}

WebRemoteSettings RemoteServer::ReadSettings() const {
    const QString path = JoinPath(appDirectory_, kWebRemoteSettingsFile);
    if (QFileInfo(path).size() > kMostSettingsBytes) {
        WebRemoteSettings settings;
        settings.notices.push_back(std::string(kWebRemoteSettingsFile) + " is larger than 64 KiB; it is not read");
        return settings;
    }
    return ReadWebRemoteSettings(ReadFileBytes(path).value_or(""));
}

bool RemoteServer::SaveSettings(const WebRemoteSettings& settings, QString* error) const {
    // It may hold fixed tokens.
    return WritePrivateFile(JoinPath(appDirectory_, kWebRemoteSettingsFile), WriteWebRemoteSettings(settings), error);
}

bool RemoteServer::SetUpTls(const WebRemoteSettings& settings) {
    if (settings.TlsHalfSet()) {
        error_ = QString("%1 names only one of tls_certificate and tls_key: the web remote does not start "
                         "(name both for https, or neither)")
                     .arg(kWebRemoteSettingsFile);
        return false;
    }
    if (!settings.TlsOn()) {
        door_->SetTls(std::nullopt);
        return true;
    }
    if (!QSslSocket::supportsSsl()) {
        error_ = "TLS is not available here (no TLS library): the web remote does not start";
        return false;
    }
    const QString certificatePath = FileSystemText(settings.tlsCertificate);
    const QString keyPath = FileSystemText(settings.tlsKey);
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(certificatePath);
    if (chain.isEmpty()) {
        error_ = QString("The TLS certificate %1 cannot be read (a PEM file is needed)").arg(certificatePath);
        return false;
    }
    QFile keyFile(keyPath);
    QSslKey key;
    if (keyFile.open(QIODevice::ReadOnly) && keyFile.size() < kMostSettingsBytes) {
        const QByteArray pem = keyFile.readAll();
        for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
            key = QSslKey(pem, algorithm);
            if (!key.isNull()) break;
        }
    }
    if (key.isNull()) {
        error_ = QString("The TLS key %1 cannot be read (an unencrypted PEM key is needed)").arg(keyPath);
        return false;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    door_->SetTls(configuration);
    return true;
}

bool RemoteServer::Start(const ListenAddress& listen) {
    Stop();
    error_.clear();
    const WebRemoteSettings settings = ReadSettings();
    for (const std::string& notice : settings.notices) std::fprintf(stderr, "%s\n", notice.c_str());
    http_ = new RemoteHttp(*this, this);
    door_ = new RemoteDoor(http_);
    door_->SetHeadHandler([this](QTcpSocket* socket, const RequestHead& head) { OnHead(socket, head); });
    const QString address = QString::fromStdString(listen.address);
    if (SetUpTls(settings) && !door_->listen(QHostAddress(address), static_cast<quint16>(listen.port))) {
        error_ = QString("The web remote cannot listen on %1 port %2 (%3)")
                     .arg(address)
                     .arg(listen.port)
                     .arg(door_->errorString());
    }
    if (!error_.isEmpty()) {
        delete http_;
        http_ = nullptr;
        door_ = nullptr;
        emit RunningChanged(false);
        return false;
    }
    http_->bind(door_);
    sockets_ = new QWebSocketServer("Quorvane", QWebSocketServer::NonSecureMode, this);
    connect(sockets_, &QWebSocketServer::newConnection, this, &RemoteServer::AcceptPages);
    tokens_ = ChooseTokens(settings.controlToken, settings.viewToken, random_);
    ownHosts_ = OwnHostNames(settings);
    listen_ = listen;
    listen_.port = door_->serverPort();  // the port taken when 0 asked for any
    WriteLinks();
    if (const auto warning = ClearTextNotice(listen_, door_->Tls())) std::fprintf(stderr, "%s\n", warning->c_str());
    emit RunningChanged(true);
    return true;
}

void RemoteServer::WriteLinks() {
    const QString control = Url(RemoteRole::Control);
    const QString path = JoinPath(appDirectory_, kLinkFile);
    QString error;
    const bool written = WritePrivateFile(path, control.toStdString() + "\r\n", &error);
    std::printf("Web remote, view only: %s\n", Url(RemoteRole::View).toUtf8().constData());
    // A terminal is the user's own; standard output elsewhere may be a
    // journal that others read.
    if (::isatty(STDOUT_FILENO)) {
        std::printf("Web remote: %s\n", control.toUtf8().constData());
    } else if (written) {
        std::printf("Web remote: the control link is in %s (readable by you only)\n", path.toUtf8().constData());
    } else {
        std::printf("Web remote: the control link is under Settings, Show link (%s could not be written: %s)\n",
                    path.toUtf8().constData(), error.toUtf8().constData());
    }
    std::fflush(stdout);
}

QString RemoteServer::ClearTextWarning() const {
    if (!Running()) return {};
    return QString::fromStdString(ClearTextNotice(listen_, door_->Tls()).value_or(""));
}

int RemoteServer::Connections() const { return door_ ? door_->Connections() : 0; }

bool RemoteServer::StartForRun(const std::optional<ListenAddress>& commandLine) {
    if (commandLine) {
        if (Start(*commandLine)) return true;
    } else {
        const WebRemoteSettings settings = ReadSettings();
        if (!settings.start) {
            for (const std::string& notice : settings.notices) std::fprintf(stderr, "%s\n", notice.c_str());
            return true;
        }
        if (Start(settings.listen)) return true;
    }
    std::fprintf(stderr, "%s\n", error_.toUtf8().constData());
    return false;
}

void RemoteServer::Stop() {
    if (!http_) return;
    for (Client& client : clients_) {
        client.socket->disconnect(this);
        client.socket->abort();
        client.socket->deleteLater();
    }
    clients_.clear();
    pacer_ = KeyPacer();
    scriptClients_.clear();
    keyTimer_->stop();
    UpdateListening();
    delete sockets_;
    sockets_ = nullptr;
    delete http_;  // and the door with its connections
    http_ = nullptr;
    door_ = nullptr;
    emit RunningChanged(false);
    emit PagesChanged(0);
}

bool RemoteServer::Running() const { return http_ != nullptr; }

QString RemoteServer::Url(RemoteRole role) const {
    if (!Running()) return {};
    std::string host = listen_.address;
    if (IsEveryNetwork(host)) host = ThisComputer(host.find(':') != std::string::npos).toStdString();
    return QString::fromStdString(RemoteUrl(host, listen_.port, door_->Tls(),
                                            role == RemoteRole::Control ? tokens_.control : tokens_.view));
}

void RemoteServer::OnHead(QTcpSocket* socket, const RequestHead& head) {
    if (!head.webSocket) {
        door_->ToHttpServer(socket);
        return;
    }
    // A WebSocket is opened only for a request that may have one.
    const auto kind = RemoteKindOf(head.method, head.path, true);
    const AccessDecision decision = DecideFor(FactsOf(head, kind.value_or(RequestKind::Page), door_->Tls()));
    if (!decision.allowed) return RemoteDoor::Answer(socket, decision.status, RefusalText(decision.reason));
    if (!kind) return RemoteDoor::Answer(socket, 404, RefusalText("Not found"));
    if (Pages() >= kMostPages) return RemoteDoor::Answer(socket, 503, RefusalText("Too many pages open"));
    RemoteDoor::LetGo(socket);
    // What the connection writes to the network is counted on the socket
    // itself, found again by its peer once the WebSocket is made of it.
    std::erase_if(handedOver_, [](const auto& entry) { return entry.second.isNull(); });
    handedOver_[PeerOf(socket)] = socket;
    sockets_->handleConnection(socket);
}

void RemoteServer::AcceptPages() {
    while (sockets_->hasPendingConnections()) {
        QWebSocket* socket = sockets_->nextPendingConnection();
        socket->setParent(this);
        // The role, from what the socket says of itself (the door decided
        // the same on the same request).
        const QNetworkRequest& request = socket->request();
        const std::string query = Utf8(socket->requestUrl().query(QUrl::FullyEncoded).toUtf8());
        const std::string authorization = Utf8(request.rawHeader("Authorization"));
        const std::string host = Utf8(request.rawHeader("Host"));
        const std::optional<std::string> origin =
            request.hasRawHeader("Origin") ? std::optional(Utf8(request.rawHeader("Origin"))) : std::nullopt;
        RequestFacts facts;
        facts.kind = RequestKind::Socket;
        facts.query = query;
        facts.authorization = authorization;
        if (origin) facts.origin = std::string_view(*origin);
        facts.host = host;
        facts.tls = door_->Tls();
        const AccessDecision decision = DecideFor(facts);
        if (!decision.allowed) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QString::fromStdString(decision.reason));
            socket->deleteLater();
            continue;
        }
        socket->setMaxAllowedIncomingFrameSize(kMostIncomingBytes);
        socket->setMaxAllowedIncomingMessageSize(kMostIncomingBytes);
        Client& client = clients_.emplace_back();
        client.socket = socket;
        client.id = ++lastClientId_;
        client.role = decision.role;
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, &client](const QString& text) { OnPageMessage(client, text); });
        if (const auto connection = handedOver_.find(PeerOf(socket)); connection != handedOver_.end()) {
            if (connection->second) {
                // The connection is the page's now, and goes with it.
                RemoteDoor::Adopt(connection->second, socket);
                connect(connection->second, &QIODevice::bytesWritten, this,
                        [&client](qint64 bytes) { client.backlog.Written(bytes); });
            }
            handedOver_.erase(connection);
        }
        connect(socket, &QWebSocket::disconnected, this, [this, socket] { Forget(socket); });
        for (const std::string& message : feed_.Greeting(client.role)) Send(client, message);
        emit PagesChanged(Pages());
    }
}

void RemoteServer::OnPageMessage(Client& client, const QString& text) {
    const PageRequest asked = ReadPageMessage(text.toStdString(), client.role);
    switch (asked.kind) {
    case PageRequest::Kind::Key: {
        const KeyOutcome outcome = QueueKey(client.id, asked.key);
        // A page is told once that its queue is full, not once a key, so a
        // flood is not answered with a flood.
        if (outcome == KeyOutcome::Full && !std::exchange(client.toldFull, true)) {
            PageRequest refused;
            refused.key = asked.key;
            refused.reason = "Too many keys queued";
            Send(client, RefusedMessage(refused));
        }
        // A key refused by the scanner is told by PlayKeys.
        break;
    }
    case PageRequest::Kind::Listen:
        client.listening = asked.listen;
        UpdateListening();
        break;
    case PageRequest::Kind::Refused:
        Send(client, RefusedMessage(asked));
        break;
    }
}

void RemoteServer::UpdateListening() {
    bool wanted = false;
    for (const Client& client : clients_) wanted = wanted || client.listening;
    if (wanted != soundOn_) {
        soundOn_ = wanted;
        audioRate_ = audioChannels_ = 0;  // the encoder starts afresh with the next sound
        if (host_.listen && !host_.listen(wanted) && wanted) return TellListenFailed();
    }
    const int listeners = Listeners();
    if (listeners == listeners_) return;
    if (listeners_ == 0) {
        // Said once when the sound starts going out (at most once a minute).
        if (const auto line = listenNotices_.Pass("Web remote: sending the sound input to the pages that Listen",
                                                  clock_.elapsed())) {
            std::fprintf(stderr, "%s\n", line->c_str());
        }
    }
    listeners_ = listeners;
    emit ListenersChanged(listeners_);
}

void RemoteServer::TellListenFailed() {
    // No input opened: every page that asked hears why, and stops asking.
    soundOn_ = false;
    const std::string message = SoundMessage(false, "No sound input on the computer");
    for (Client& client : clients_) {
        if (!client.listening) continue;
        client.listening = false;
        Send(client, message);
    }
    if (host_.listen) host_.listen(false);
    if (const auto line = failNotices_.Pass("Web remote: no sound input for Listen", clock_.elapsed())) {
        std::fprintf(stderr, "%s\n", line->c_str());
    }
    if (listeners_ != 0) {
        listeners_ = 0;
        emit ListenersChanged(0);
    }
}

int RemoteServer::Listeners() const {
    if (!soundOn_) return 0;
    return static_cast<int>(std::count_if(clients_.begin(), clients_.end(), [](const Client& c) { return c.listening; }));
}

void RemoteServer::Send(Client& client, const std::string& text) {
    switch (client.backlog.Offer(WebSocketFrameBytes(static_cast<std::int64_t>(text.size())))) {
    case ClientBacklog::Verdict::Send:
        client.socket->sendTextMessage(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        break;
    case ClientBacklog::Verdict::Skip:
        break;
    case ClientBacklog::Verdict::Drop:
        Drop(client);
        break;
    }
}

void RemoteServer::SendToAll(const std::string& text) {
    for (Client& client : clients_) Send(client, text);
}

void RemoteServer::SendToAll(const std::optional<std::string>& text) {
    if (text) SendToAll(*text);
}

void RemoteServer::Drop(Client& client) {
    // The page cannot keep up: it goes, and starts afresh when it reconnects.
    // Taken out of the list only from the event loop, as a send to every
    // page may be going through the list now.
    QWebSocket* socket = client.socket;
    if (socket->state() == QAbstractSocket::UnconnectedState) return;
    socket->disconnect(this);
    client.listening = false;
    socket->abort();
    QMetaObject::invokeMethod(this, [this, socket] { Forget(socket); }, Qt::QueuedConnection);
}

void RemoteServer::Forget(QWebSocket* socket) {
    for (auto it = clients_.begin(); it != clients_.end(); ++it) {
        if (it->socket != socket) continue;
        socket->disconnect(this);
        socket->deleteLater();
        // Its keys not yet played go with it.
        pacer_.Forget(it->id);
        clients_.erase(it);
        UpdateListening();
        emit PagesChanged(Pages());
        return;
    }
}

void RemoteServer::ShowDisplay(const DisplayFrame& frame) { SendToAll(feed_.Display(frame)); }

void RemoteServer::ShowStatus(const QString& text) { SendToAll(feed_.Status(text.toStdString())); }

void RemoteServer::ShowLatches(bool functionHeld, bool reverseHeld) {
    SendToAll(feed_.Latches(functionHeld, reverseHeld));
}

void RemoteServer::ShowLog(const std::deque<LogRow>& rows) { SendToAll(feed_.Log(rows)); }

void RemoteServer::AddLogRow(const LogRow& row) { SendToAll(feed_.LogAdded(row)); }

void RemoteServer::ClearLog() { SendToAll(feed_.LogCleared()); }

void RemoteServer::RemarkLog() { SendToAll(feed_.Remark()); }

void RemoteServer::PushSound(const std::int16_t* samples, std::int64_t frames, int sampleRate, int channels) {
    if (!soundOn_) return;
    if (sampleRate != audioRate_ || channels != audioChannels_) {
        audio_.Reset(sampleRate, channels);
        audioRate_ = sampleRate;
        audioChannels_ = channels;
    }
    for (const std::string& frame : audio_.Push(samples, frames)) {
        const QByteArray bytes(frame.data(), static_cast<qsizetype>(frame.size()));
        for (Client& client : clients_) {
            if (!client.listening) continue;
            const auto verdict = client.backlog.Offer(WebSocketFrameBytes(bytes.size()), true);
            if (verdict == ClientBacklog::Verdict::Send) client.socket->sendBinaryMessage(bytes);
            if (verdict == ClientBacklog::Verdict::Drop) Drop(client);
        }
    }
}

}  // namespace quorvane
