// The remote's keys: each page and each address of key requests queues its
// keys in the KeyPacer, and they are played one at a time, only while the
// window's key queue is idle, so the poll keeps the line between them.
#include <QWebSocket>

#include "web/RemoteMessages.h"
#include "web/qt/RemoteServer.h"

namespace quorvane {

RemoteServer::KeyOutcome RemoteServer::QueueKey(KeyPacer::ClientId client, const std::string& key) {
    if (!pacer_.Add(client, key)) return KeyOutcome::Full;
    // When it is the key's turn now, it is played at once and its outcome known.
    if (const auto played = PlayKeys(); played && played->first.client == client && pacer_.Queued(client) == 0) {
        return played->second ? KeyOutcome::Pressed : KeyOutcome::Refused;
    }
    return KeyOutcome::Queued;
}

RemoteServer::KeyOutcome RemoteServer::KeyFromScript(const QHostAddress& peer, const std::string& key) {
    // The addresses whose keys have all been played are forgotten.
    std::erase_if(scriptClients_, [this](const auto& entry) { return pacer_.Queued(entry.second) == 0; });
    auto [entry, added] = scriptClients_.try_emplace(peer.toString(), 0);
    if (added) entry->second = ++lastClientId_;
    return QueueKey(entry->second, key);
}

std::optional<std::pair<KeyPacer::Key, bool>> RemoteServer::PlayKeys() {
    const auto due = pacer_.NextDueMs();
    if (!due) return std::nullopt;
    const qint64 now = clock_.elapsed();
    // The window's queue still plays (a macro, a key's waits), or the poll
    // has not had its round since the last remote key: look again soon.
    const bool busy = (host_.keysBusy && host_.keysBusy()) ||
                      (pollRoundsSinceKey_ < kPollRoundsBetweenKeys && now - lastKeyMs_ < kRemoteKeyWithoutPollMs);
    if (busy || now < *due) {
        if (!keyTimer_->isActive()) {
            keyTimer_->start(static_cast<int>(busy ? kRemoteKeySpacingMs : std::max<qint64>(0, *due - now)));
        }
        return std::nullopt;
    }
    auto key = pacer_.Take(now);
    if (!key) return std::nullopt;
    pollRoundsSinceKey_ = 0;
    lastKeyMs_ = now;
    Client* page = FindClient(key->client);
    if (page) page->toldFull = false;
    const bool played = host_.press && host_.press(key->name);
    if (!played) {
        // The scanner is not running: the client's other keys would fail too.
        pacer_.Forget(key->client);
        if (page) {
            PageRequest refused;
            refused.key = key->name;
            refused.reason = "Scanner not running";
            Send(*page, RefusedMessage(refused));
        }
    }
    if (const auto next = pacer_.NextDueMs()) {
        keyTimer_->start(static_cast<int>(std::max<qint64>(0, *next - now)));
    }
    return std::pair{std::move(*key), played};
}

void RemoteServer::PollRoundDone() {
    ++pollRoundsSinceKey_;
    if (pacer_.Queued() > 0) PlayKeys();
}

RemoteServer::Client* RemoteServer::FindClient(KeyPacer::ClientId id) {
    for (Client& client : clients_) {
        if (client.id == id) return &client;
    }
    return nullptr;
}

}  // namespace quorvane
