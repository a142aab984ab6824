#include "shell/CloseNotice.h"

#include "platform/DesktopNotifications.h"

#include <QPointer>

CloseNotice::CloseNotice(DesktopNotifications* client, QObject* parent) : QObject(parent), client_(client) {
    if (!client_) {
        owned_ = std::make_unique<DesktopNotifications>();
        client_ = owned_.get();
    }
    connect(client_, &DesktopNotifications::actionInvoked, this, [this](quint32 id, const QString& action) {
        if (id == 0 || id != id_) return;
        if (action == QLatin1String(quitAction))
            Q_EMIT quitRequested();
        else
            Q_EMIT openRequested();
    });
    // Its id goes with the notification: a later server may give the same number to another.
    connect(client_, &DesktopNotifications::notificationClosed, this, [this](quint32 id, quint32) {
        if (id == id_) id_ = 0;
    });
}

CloseNotice::~CloseNotice() = default;

QString CloseNotice::body() {
    return QStringLiteral(
        "Orvane keeps running without its window so that it can play the call to prayer at every prayer "
        "time. To show the clock again, start Orvane again from your applications. To quit, press Ctrl+Q "
        "in the Orvane window, or choose Quit Orvane here.");
}

void CloseNotice::windowClosed() {
    if (asked_) return;
    asked_ = true;
    post();
}

QCoro::Task<> CloseNotice::post() {
    DesktopNotifications::Request request;
    request.icon = QStringLiteral("orvane");
    request.summary = summary();
    request.body = body();
    request.actions = {{QStringLiteral("default"), QStringLiteral("Open Orvane")},
                       {QString::fromLatin1(quitAction), QStringLiteral("Quit Orvane")}};
    request.hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("orvane"));
    const QPointer<CloseNotice> self(this);
    const quint32 id = co_await client_->notify(request);
    if (!self) co_return;
    if (id == 0) qInfo("[Orvane] no notification server: the clock keeps running with its window closed");
    id_ = id;
}
