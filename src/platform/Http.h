#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <chrono>

namespace Http {

// Caps on a reply's body by what it carries. A reply past its cap is a failure of that request, never a
// bigger buffer, so a server that sends without end costs the clock no more than the cap.
inline constexpr qint64 kMiB = 1024 * 1024;
// JSON feeds and the own server's replies: every one of them is a few kilobytes when sound.
inline constexpr qint64 jsonReplyMaxBytes = 4 * kMiB;
// Pictures: the dial's logos, the picture for places without street imagery, the sun picture.
inline constexpr qint64 pictureMaxBytes = 10 * kMiB;
// Hops a request may be sent on before it counts as a redirect loop.
inline constexpr int maxRedirects = 5;

}  // namespace Http

// One HTTP layer for every request the clock makes. It never throws: a transport failure, a timeout, a
// redirect loop or an oversized body comes back as a response with `transportOk` false.
struct HttpRequest {
    QByteArray method = "GET";
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    std::chrono::milliseconds timeout{60000};
    // Read as the body arrives; past it the request is aborted. There is no unlimited: a value below 1
    // means the JSON cap.
    qint64 maxBodyBytes = Http::jsonReplyMaxBytes;
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
// The shorthands below hold a body to the JSON cap; anything larger goes through send() with its own cap.
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
