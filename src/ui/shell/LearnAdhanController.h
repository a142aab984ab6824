#pragma once

#include "model/BlessingsRecords.h"
#include "services/AppSettings.h"

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <functional>

// The learn-the-call sheet's steps: the devotional cards one after another when the splash is on (and the
// server has not turned it off), then the learn-the-call link handed to the browser. A link that is not a
// web address, or a browser that does not start, leaves a status line instead.
class LearnAdhanController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppSettings* settings READ settings WRITE setSettings NOTIFY settingsChanged)
    Q_PROPERTY(bool showingSplash READ showingSplash NOTIFY stateChanged)
    Q_PROPERTY(bool opened READ opened NOTIFY stateChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY stateChanged)
    Q_PROPERTY(int cardIndex READ cardIndex NOTIFY stateChanged)
    Q_PROPERTY(int cardCount READ cardCount NOTIFY stateChanged)
    Q_PROPERTY(QVariantMap card READ card NOTIFY stateChanged)
    Q_PROPERTY(QString linkText READ linkText NOTIFY stateChanged)
  public:
    using Opener = std::function<bool(const QUrl&)>;

    explicit LearnAdhanController(QObject* parent = nullptr);

    AppSettings* settings() const { return settings_; }
    void setSettings(AppSettings* settings);
    bool showingSplash() const { return showingSplash_; }
    bool opened() const { return opened_; }
    const QString& statusText() const { return statusText_; }
    int cardIndex() const { return cardIndex_; }
    int cardCount() const { return int(cards_.size()); }
    // The card on show: id, arabic, transliteration, english (empty strings for absent fields).
    QVariantMap card() const;
    const QString& linkText() const { return linkText_; }

    // Begins with the cards, or opens the link at once when there are none to show.
    Q_INVOKABLE void start();
    // The next card, or the link after the last one.
    Q_INVOKABLE void advance();
    Q_INVOKABLE void openLink();

    // Replaces the configuration read at start (the one in force by default) and the browser call.
    void setConfig(const BlessingsConfig& config) {
        config_ = config;
        hasConfig_ = true;
    }
    void setOpener(Opener opener) { opener_ = std::move(opener); }
    // The browser call of controllers made from now on (by views, say); null restores the desktop's.
    static void setDefaultOpener(Opener opener);

    static QString notWebAddressText() {
        return QStringLiteral("This link is not a web address (http or https).");
    }
    static QString browserFailedText() {
        return QStringLiteral("The browser could not be opened. The link is:");
    }

  Q_SIGNALS:
    void settingsChanged();
    void stateChanged();

  private:
    QPointer<AppSettings> settings_;
    BlessingsConfig config_;
    bool hasConfig_ = false;
    Opener opener_;
    QList<BlessingsCard> cards_;
    int cardIndex_ = -1;
    bool showingSplash_ = false;
    bool opened_ = false;
    QString statusText_;
    QString linkText_;
};
