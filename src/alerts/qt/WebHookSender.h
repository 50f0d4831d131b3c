#pragma once
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

#include "alerts/WebHook.h"

namespace quorvane {

// Sends alerts to web hooks as HTTP POSTs. The network works on its own: a
// send returns at once, a hook that does not answer within 10 s, answers
// with a server error or "too many requests", or cannot be reached is tried
// again after 2, 4 and 8 s; what still fails, or what the hook refuses (a
// wrong key, a gone topic), is said once through Failed, and the alert is
// dropped: a hook never holds up a hit or the window.
class WebHookSender : public QObject {
    Q_OBJECT
public:
    explicit WebHookSender(QObject* parent = nullptr);

    void Send(const HookRequest& request);
    // Sends still under way or waiting to be tried again.
    int Pending() const { return pending_; }

    static constexpr int kTries = 4;
    static constexpr int kTimeoutMs = 10000;
    static constexpr int kFirstRetryMs = 2000;

signals:
    // A hook that did not take an alert: its address (secrets hidden) and why.
    void Failed(const QString& hook, const QString& why);
    // An alert a hook took.
    void Delivered(const QString& hook);

private:
    void Try(const HookRequest& request, int attempt);

    QNetworkAccessManager network_;
    int pending_ = 0;
};

}  // namespace quorvane
