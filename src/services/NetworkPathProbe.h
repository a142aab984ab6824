#pragma once

#include <QNetworkInformation>
#include <QObject>
#include <QString>

// Whether the machine can reach the internet, as the platform's reachability backend sees it. With no
// backend the path stays unknown, which is not offline: nothing may be given up because of it.
class NetworkPathProbe : public QObject {
    Q_OBJECT
  public:
    enum class Path { Unknown, Offline, Online };
    Q_ENUM(Path)

    // A probe fed by hand through report(): the seam for tests, and what remains with no backend.
    explicit NetworkPathProbe(QObject* parent = nullptr);

    // The process's probe of the platform backend: the default one, else any backend that reports
    // reachability. Created on first use, after the application object.
    static NetworkPathProbe* system();

    Path path() const { return path_; }
    // Name of the backend behind the system probe; empty when there is none (or for a hand-fed probe).
    const QString& backendName() const { return backend_; }

    void report(Path path);

    // A network without a way out (link-local only, a site network, a captive portal) is not online.
    static Path fromReachability(QNetworkInformation::Reachability reachability);

  signals:
    void pathChanged(NetworkPathProbe::Path path);

  private:
    Path path_ = Path::Unknown;
    QString backend_;
};
