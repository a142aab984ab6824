#pragma once

#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>

class AppSettings;

// The clock identifier on the API pane: shown, copied to the clipboard, or replaced by one from an earlier
// installation whose saved address is then pulled from the server.
class ClockIdReclaim : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("part of the settings window")
    Q_PROPERTY(QString clockId READ clockId NOTIFY clockIdChanged)
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(bool canReclaim READ canReclaim NOTIFY canReclaimChanged)
    Q_PROPERTY(bool messageIsSuccess READ messageIsSuccess NOTIFY messageChanged)
  public:
    explicit ClockIdReclaim(AppSettings& settings, QObject* parent = nullptr);

    QString clockId() const;
    const QString& draft() const { return draft_; }
    void setDraft(const QString& text);
    const QString& message() const { return message_; }
    bool busy() const { return busy_; }
    // At least the twelve characters of a clock identifier once spaces and tabs are trimmed, and idle.
    bool canReclaim() const;
    bool messageIsSuccess() const { return message_.contains(QChar(0x2713)); }

    Q_INVOKABLE void copyClockId();
    Q_INVOKABLE void startReclaim();
    QCoro::Task<> reclaim();

  Q_SIGNALS:
    void clockIdChanged();
    void draftChanged();
    void messageChanged();
    void busyChanged();
    void canReclaimChanged();
    // The clock identifier changed: the clock should reload for its address.
    void applied();

  private:
    void setMessage(const QString& text);
    void setBusy(bool busy);

    AppSettings& settings_;
    QString draft_;
    QString message_;
    bool busy_ = false;
};
