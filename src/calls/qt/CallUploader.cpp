#include "calls/qt/CallUploader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHttpMultiPart>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <utility>

#include "app/qt/AppFiles.h"

namespace quorvane {
namespace {

constexpr int kNumberDigits = 12;

QString QueueName(qulonglong number) { return QString("%1.call").arg(number, kNumberDigits, 10, QChar('0')); }

}  // namespace

CallUploader::CallUploader(QString appDirectory, QObject* parent)
    : QObject(parent), appDirectory_(std::move(appDirectory)) {
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &CallUploader::SendNext);
}

QString CallUploader::QueueFolder() const { return JoinPath(appDirectory_, kCallsQueueFolder); }

void CallUploader::Load() {
    settings_ = ReadCallsSettings(ReadFileBytes(JoinPath(appDirectory_, kCallsSettingsFile)).value_or(""));
    for (const std::string& notice : settings_.notices) emit Notice(QString::fromStdString(notice));
    // Names of equal length sort in the order they were queued.
    queue_ = QDir(QueueFolder()).entryList({"*.call"}, QDir::Files, QDir::Name);
    if (!queue_.isEmpty()) nextNumber_ = queue_.last().section('.', 0, 0).toULongLong() + 1;
    emit StateChanged(StateText());
    SendNext();
}

QString CallUploader::StateText() const {
    return QString::fromStdString(CallsStateText(Waiting(), lastError_.toStdString(), !settings_.servers.empty()));
}

void CallUploader::Add(const CallMetadata& call, const QString& recording) {
    if (settings_.servers.empty() || recording.isEmpty()) return;
    if (!QDir().mkpath(QueueFolder())) {
        Failed("the queue folder " + QueueFolder() + " cannot be made; the call is not sent");
        return;
    }
    for (const CallServer& server : settings_.servers) {
        const QString name = QueueName(nextNumber_++);
        QString error;
        const QueuedCall queued{server, call, QFile::encodeName(recording).toStdString()};
        if (!WriteFileAtomically(JoinPath(QueueFolder(), name), WriteQueuedCall(queued), &error)) {
            Failed("a call cannot be queued: " + error);
            continue;
        }
        queue_.append(name);
    }
    emit StateChanged(StateText());
    if (!retry_.isActive()) SendNext();
}

void CallUploader::SendNext() {
    if (inFlight_ || queue_.isEmpty()) return;
    const QString path = JoinPath(QueueFolder(), queue_.first());
    const std::optional<QueuedCall> queued = ReadQueuedCall(ReadFileBytes(path).value_or(""));
    if (!queued) {
        lastError_ = "a damaged entry " + queue_.first() + " in the queue was dropped";
        Drop();
        return SendNext();
    }
    auto* audio = new QFile(QFile::decodeName(QByteArray::fromStdString(queued->recording)));
    if (!audio->open(QIODevice::ReadOnly)) {
        lastError_ = "the recording " + audio->fileName() + " is gone; its call was dropped";
        delete audio;
        Drop();
        return SendNext();
    }
    auto* form = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    for (const auto& [name, value] : CallFields(queued->server, queued->call)) {
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader, QString("form-data; name=\"%1\"").arg(name.c_str()));
        part.setBody(QByteArray::fromStdString(value));
        form->append(part);
    }
    const QString fileName = QFileInfo(audio->fileName()).fileName();
    QHttpPart sound;
    sound.setHeader(QNetworkRequest::ContentTypeHeader, "audio/wav");
    sound.setHeader(QNetworkRequest::ContentDispositionHeader,
                    QString("form-data; name=\"audio\"; filename=\"%1\"").arg(fileName.toHtmlEscaped()));
    sound.setBodyDevice(audio);
    audio->setParent(form);
    form->append(sound);
    for (const auto& [name, value] : std::vector<std::pair<QString, QString>>{{"audioName", fileName},
                                                                             {"audioType", "audio/wav"}}) {
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader, QString("form-data; name=\"%1\"").arg(name));
        part.setBody(value.toUtf8());
        form->append(part);
    }
    QNetworkRequest request(QUrl(QString::fromStdString(queued->server.url)));
    request.setTransferTimeout(timeoutMs_);
    request.setHeader(QNetworkRequest::UserAgentHeader, "Quorvane");
    inFlight_ = network_.post(request, form);
    form->setParent(inFlight_);
    connect(inFlight_, &QNetworkReply::finished, this, [this, reply = inFlight_.data()] { Answered(reply); });
}

void CallUploader::Answered(QNetworkReply* reply) {
    reply->deleteLater();
    inFlight_ = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString body = QString::fromUtf8(reply->readAll()).simplified().left(120);
    const QString server = reply->url().host();
    if (status == 0) return Failed(server + ": " + reply->errorString());
    switch (ClassifyAnswer(status)) {
        case CallOutcome::Delivered:
            pause_.Reset();
            Drop();
            return SendNext();
        case CallOutcome::Refused: {
            const QString error = QString("%1 refused a call (%2 %3)").arg(server).arg(status).arg(body);
            lastError_ = error;
            // Each refusal is told once: a wrong key refuses every call alike.
            if (!refusalsTold_.contains(error)) {
                refusalsTold_.insert(error);
                emit Notice(error);
            }
            Drop();
            return SendNext();
        }
        case CallOutcome::Retry:
            return Failed(QString("%1 answered %2 %3").arg(server).arg(status).arg(body).trimmed());
    }
}

void CallUploader::Drop() {
    QFile::remove(JoinPath(QueueFolder(), queue_.takeFirst()));
    emit StateChanged(StateText());
}

void CallUploader::Failed(const QString& error) {
    lastError_ = error;
    const int wait = pause_.Next();
    if (!queue_.isEmpty()) {
        lastError_ += QString(" - trying again in %1 s").arg((wait + 999) / 1000);
        retry_.start(wait);
    }
    emit StateChanged(StateText());
}

}  // namespace quorvane
