#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <chrono>

// One HTTP layer for every request the clock makes. It never throws: a transport failure, a timeout or an
// oversized body comes back as a response with `transportOk` false.
struct HttpRequest {
    QByteArray method = "GET";
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    std::chrono::milliseconds timeout{60000};
    qint64 maxBodyBytes = -1;  // < 0: unlimited
};

struct HttpResponse {
    bool transportOk = false;  // a status line arrived and the whole body was read
    int status = 0;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    QString error;

    bool isSuccess() const { return transportOk && status >= 200 && status < 300; }
    QByteArray header(const QByteArray& name) const;  // case-insensitive, empty when absent
};

namespace Http {

QCoro::Task<HttpResponse> send(HttpRequest request);
QCoro::Task<HttpResponse> get(QUrl url, std::chrono::milliseconds timeout = std::chrono::milliseconds(60000));
QCoro::Task<HttpResponse> head(QUrl url,
                               std::chrono::milliseconds timeout = std::chrono::milliseconds(60000));
QCoro::Task<HttpResponse> postJson(QUrl url, QByteArray body,
                                   std::chrono::milliseconds timeout = std::chrono::milliseconds(60000));

// A GET whose body is streamed into `filePath` as it arrives instead of being held in memory; the body of
// the response stays empty. The file appears, whole, only when the reply is a success; otherwise nothing is
// left at `filePath` (a file already there is kept). `request.timeout` bounds the time without any data, so
// a long download on a slow line is not cut while it progresses; `maxBodyBytes` still caps the size.
QCoro::Task<HttpResponse> download(HttpRequest request, QString filePath);

// Refuses every request at once (the probe's --offline, tests of the offline paths).
void setOffline(bool offline);
bool isOffline();

// Requests started so far in this process (benchmarks and tests count network use with it).
quint64 requestCount();

}  // namespace Http
