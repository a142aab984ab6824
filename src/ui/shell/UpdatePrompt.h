#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>

// The question put to the user when a newer build exists: its version and release notes, and either the two
// answers, which the application hands to the updater, or (where this installation is updated another way,
// or an install failed) a message and one button to close it.
class UpdatePrompt : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("owned by the root controller")
    Q_PROPERTY(bool visible READ visible NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString version READ version NOTIFY changed)
    Q_PROPERTY(QString releaseNotes READ releaseNotes NOTIFY changed)
    Q_PROPERTY(bool installable READ installable NOTIFY changed)
    Q_PROPERTY(QString message READ message NOTIFY changed)
  public:
    using QObject::QObject;

    bool visible() const { return visible_; }
    const QString& title() const { return title_; }
    const QString& version() const { return version_; }
    const QString& releaseNotes() const { return releaseNotes_; }
    bool installable() const { return installable_; }
    const QString& message() const { return message_; }

    // A verified newer build is ready; a later offer replaces an unanswered one.
    void offer(const QString& version, const QString& releaseNotes);
    // A newer build exists, but this installation is updated the way `howToUpdate` says.
    void offerManual(const QString& version, const QString& releaseNotes, const QString& howToUpdate);
    // The install did not happen; this build runs on.
    void reportFailure(const QString& reason);

    Q_INVOKABLE void install();
    Q_INVOKABLE void decline();

  Q_SIGNALS:
    void changed();
    void installRequested();
    void declined();

  private:
    void show(const QString& title, const QString& version, const QString& notes, bool installable,
              const QString& message);
    bool close();

    bool visible_ = false;
    bool installable_ = false;
    QString title_;
    QString version_;
    QString releaseNotes_;
    QString message_;
};
