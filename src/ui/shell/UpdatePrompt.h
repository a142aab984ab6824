#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>

// The question put to the user when a verified newer build waits: its version and release notes, and the
// two answers, which the application hands to the updater.
class UpdatePrompt : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("owned by the root controller")
    Q_PROPERTY(bool visible READ visible NOTIFY changed)
    Q_PROPERTY(QString version READ version NOTIFY changed)
    Q_PROPERTY(QString releaseNotes READ releaseNotes NOTIFY changed)
  public:
    using QObject::QObject;

    bool visible() const { return visible_; }
    const QString& version() const { return version_; }
    const QString& releaseNotes() const { return releaseNotes_; }

    // A newer build is ready; a later offer replaces an unanswered one.
    void offer(const QString& version, const QString& releaseNotes);

    Q_INVOKABLE void install();
    Q_INVOKABLE void decline();

  Q_SIGNALS:
    void changed();
    void installRequested();
    void declined();

  private:
    bool close();

    bool visible_ = false;
    QString version_;
    QString releaseNotes_;
};
