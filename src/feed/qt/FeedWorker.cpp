#include "feed/qt/FeedWorker.h"

#include <QDateTime>
#include <shout/shout.h>

#include <mutex>

namespace quorvane {
namespace {

// A connection attempt that has not finished by then counts as failed.
constexpr int kConnectTimeoutMs = 10000;
constexpr int kConnectPollMs = 50;
// Seconds of MP3 that may wait unsent for a slow server before it counts as
// gone (the listeners would hear a growing delay otherwise).
constexpr int kMostQueuedSeconds = 20;

void InitShoutOnce() {
    static std::once_flag once;
    std::call_once(once, [] { shout_init(); });
}

}  // namespace

FeedWorker::FeedWorker() {
    poll_->setInterval(kConnectPollMs);
    retry_->setSingleShot(true);
    connect(poll_, &QTimer::timeout, this, &FeedWorker::CheckConnected);
    connect(retry_, &QTimer::timeout, this, &FeedWorker::Connect);
}

FeedWorker::~FeedWorker() { Close(); }

void FeedWorker::Begin(const FeedSettings& settings) {
    End();
    settings_ = settings;
    std::string why;
    target_ = ParseFeedUrl(settings_.url, &why);
    if (!target_) {
        emit StateChanged(QString("Feed: %1").arg(QString::fromStdString(settings_.url.empty() ? "no address set"
                                                                                                 : why)));
        return;
    }
    wanted_ = true;
    pause_.Reset();
    Connect();
}

void FeedWorker::End() {
    wanted_ = false;
    poll_->stop();
    retry_->stop();
    Close();
}

void FeedWorker::Close() {
    onAir_ = false;
    titleSent_ = false;
    if (shout_) {
        shout_close(shout_);
        shout_free(shout_);
        shout_ = nullptr;
    }
    encoder_.reset();
}

void FeedWorker::Say(FeedState state, int waitMs, const QString& reason) {
    emit StateChanged(QString::fromStdString(FeedStateText(state, waitMs, reason.toStdString())));
}

void FeedWorker::Connect() {
    if (!wanted_ || !target_) return;
    Close();
    InitShoutOnce();
    shout_ = shout_new();
    if (!shout_) return Lost(FeedState::Waiting, "out of memory");
    const auto text = [](const std::string& value) { return QString::fromLatin1(value.c_str()).toUtf8(); };
    shout_set_host(shout_, target_->host.c_str());
    shout_set_port(shout_, static_cast<unsigned short>(target_->port));
    shout_set_user(shout_, target_->user.c_str());
    shout_set_password(shout_, target_->password.c_str());
    shout_set_mount(shout_, target_->mount.c_str());
    shout_set_protocol(shout_, SHOUT_PROTOCOL_HTTP);
    shout_set_content_format(shout_, SHOUT_FORMAT_MP3, SHOUT_USAGE_AUDIO, nullptr);
    shout_set_agent(shout_, "Quorvane");
    shout_set_public(shout_, settings_.listed ? 1 : 0);
    shout_set_meta(shout_, SHOUT_META_NAME, text(settings_.name).constData());
    shout_set_meta(shout_, SHOUT_META_DESCRIPTION, text(settings_.description).constData());
    shout_set_meta(shout_, SHOUT_META_GENRE, text(settings_.genre).constData());
    shout_set_audio_info(shout_, SHOUT_AI_BITRATE, std::to_string(settings_.bitrate).c_str());
    shout_set_audio_info(shout_, SHOUT_AI_SAMPLERATE, std::to_string(settings_.samplerate).c_str());
    shout_set_audio_info(shout_, SHOUT_AI_CHANNELS, "1");
    shout_set_nonblocking(shout_, SHOUT_BLOCKING_NONE);
    Say(FeedState::Connecting);
    connectStarted_ = QDateTime::currentMSecsSinceEpoch();
    const int opened = shout_open(shout_);
    if (opened == SHOUTERR_SUCCESS || opened == SHOUTERR_CONNECTED) {
        CheckConnected();
    } else if (opened == SHOUTERR_BUSY || opened == SHOUTERR_RETRY) {
        poll_->start();
    } else {
        Lost(opened == SHOUTERR_NOLOGIN ? FeedState::PasswordRefused : FeedState::Waiting,
             QString::fromUtf8(shout_get_error(shout_)));
    }
}

void FeedWorker::CheckConnected() {
    if (!shout_) return poll_->stop();
    const int state = shout_get_connected(shout_);
    if (state == SHOUTERR_CONNECTED) {
        poll_->stop();
        onAir_ = true;
        pause_.Reset();
        encoder_ = std::make_unique<Mp3Encoder>(settings_.bitrate, settings_.samplerate);
        Say(FeedState::OnAir);
        SendTitle();
    } else if (state == SHOUTERR_BUSY || state == SHOUTERR_RETRY) {
        if (QDateTime::currentMSecsSinceEpoch() - connectStarted_ > kConnectTimeoutMs) {
            poll_->stop();
            Lost(FeedState::Waiting, "no answer from the server");
        }
    } else {
        poll_->stop();
        Lost(state == SHOUTERR_NOLOGIN ? FeedState::PasswordRefused : FeedState::Waiting,
             QString::fromUtf8(shout_get_error(shout_)));
    }
}

void FeedWorker::Lost(FeedState state, const QString& reason) {
    Close();
    if (!wanted_) return;
    const int wait = pause_.Next();
    // A refused password is its own state; the retries carry on quietly.
    if (state == FeedState::PasswordRefused) {
        Say(state);
    } else {
        Say(FeedState::Waiting, wait, reason);
    }
    retry_->start(wait);
}

void FeedWorker::Sound(const std::vector<std::int16_t>& samples, int rate, int channels) {
    if (!onAir_ || !encoder_ || channels <= 0) return;
    const std::vector<std::uint8_t> mp3 =
        encoder_->Encode(samples.data(), static_cast<std::int64_t>(samples.size()) / channels, rate, channels);
    if (!encoder_->Error().empty()) {
        const QString why = QString::fromStdString(encoder_->Error());
        End();
        emit StateChanged("Feed: " + why);
        return;
    }
    if (mp3.empty()) return;
    if (shout_send(shout_, mp3.data(), mp3.size()) != SHOUTERR_SUCCESS) {
        return Lost(FeedState::Waiting, QString::fromUtf8(shout_get_error(shout_)));
    }
    if (shout_queuelen(shout_) > static_cast<ssize_t>(settings_.bitrate) * 125 * kMostQueuedSeconds) {
        Lost(FeedState::Waiting, "the server takes the sound too slowly");
    }
}

void FeedWorker::Title(const QByteArray& utf8) {
    title_ = utf8;
    titleSent_ = false;
    SendTitle();
}

void FeedWorker::SendTitle() {
    if (!onAir_ || titleSent_ || title_.isEmpty()) return;
    shout_metadata_t* metadata = shout_metadata_new();
    if (!metadata) return;
    // A title the server did not take is not worth dropping the stream for:
    // it goes again after the next connection, or the next hit sends another.
    titleSent_ = shout_metadata_add(metadata, "song", title_.constData()) == SHOUTERR_SUCCESS &&
                 shout_set_metadata_utf8(shout_, metadata) == SHOUTERR_SUCCESS;
    shout_metadata_free(metadata);
}

}  // namespace quorvane
