#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QTimer>
#include <QUrl>

// The sky-map sheet's state: the page address, fixed once the sheet has one, the loading flag and the
// failure notice, driven by the web view's navigation events; a page that neither finishes nor fails
// within a minute counts as failed.
class PlanetariumController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl url READ url WRITE setUrl NOTIFY urlChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY stateChanged)
    Q_PROPERTY(bool loadFailed READ loadFailed NOTIFY stateChanged)
    // Whether this machine has the embedded web view at all.
    Q_PROPERTY(bool webViewAvailable READ webViewAvailable CONSTANT)
    Q_PROPERTY(QString notice READ notice CONSTANT)

  public:
    explicit PlanetariumController(QObject* parent = nullptr);

    const QUrl& url() const { return url_; }
    void setUrl(const QUrl& url);
    bool isLoading() const { return isLoading_; }
    bool loadFailed() const { return loadFailed_; }
    static bool webViewAvailable();
    static QString notice();

    Q_INVOKABLE void navigationStarted();
    Q_INVOKABLE void navigationFinished();
    Q_INVOKABLE void navigationFailed();
    // Opens the page in the user's browser; the sheet stays as it is.
    Q_INVOKABLE void openInBrowser() const;

    static constexpr int timeoutMs = 60000;

  signals:
    void urlChanged();
    void stateChanged();

  private:
    void set(bool loading, bool failed);

    QUrl url_;
    bool isLoading_ = true;
    bool loadFailed_ = false;
    QTimer timeout_;
};
