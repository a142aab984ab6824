#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

// A session bus of the test's own, with nothing on it and nothing it could start, for what would disturb
// the tests sharing the common bus (a change of who owns a name). What it started stops when it goes.
class PrivateBus {
  public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    QString address() const { return address_; }
    QDBusConnection connection() const;
    // Starts a mock notification server that takes the name from any earlier one, as a replacing
    // daemon does. Its unique bus name once it owns the name; empty when it did not within seconds.
    QString startNotificationServer();

  private:
    QTemporaryDir dir_;
    QString address_;
    qint64 pid_ = 0;
    QString connectionName_;
    std::vector<std::unique_ptr<QProcess>> servers_;
};
