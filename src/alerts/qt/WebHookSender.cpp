#include "alerts/qt/WebHookSender.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace quorvane {

WebHookSender::WebHookSender(QObject* parent) : QObject(parent) {}

void WebHookSender::Send(const HookRequest& request) {
    ++pending_;
    Try(request, 1);
}

void WebHookSender::Try(const HookRequest& request, int attempt) {
    const QString shown = QString::fromStdString(HookShownName(request.url));
    QNetworkRequest http(QUrl(QString::fromStdString(request.url), QUrl::StrictMode));
    if (!http.url().isValid() || (http.url().scheme() != "http" && http.url().scheme() != "https")) {
        --pending_;
        emit Failed(shown, "not an http or https address");
        return;
    }
    http.setHeader(QNetworkRequest::ContentTypeHeader, QString::fromStdString(request.contentType));
    http.setHeader(QNetworkRequest::UserAgentHeader, "Quorvane");
    http.setTransferTimeout(kTimeoutMs);
    for (const auto& [name, value] : request.headers) {
        http.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    }
    QNetworkReply* reply = network_.post(http, QByteArray::fromStdString(request.body));
    connect(reply, &QNetworkReply::finished, this, [this, reply, request, attempt, shown] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
            --pending_;
            emit Delivered(shown);
            return;
        }
        // A refusal (4xx, not "too many requests") will not change by asking again.
        const bool refused = status >= 400 && status < 500 && status != 408 && status != 429;
        const QString why = status > 0 ? QString("HTTP %1").arg(status) : reply->errorString();
        if (refused || attempt >= kTries) {
            --pending_;
            emit Failed(shown, why);
            return;
        }
        QTimer::singleShot(kFirstRetryMs << (attempt - 1), this, [this, request, attempt] { Try(request, attempt + 1); });
    });
}

}  // namespace quorvane
