#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>

// What a screen reader sees of the applications on an accessibility bus (AT-SPI): every object under the
// registry's desktop, with its role name ("push button", "label", ...) and its accessible name.
struct AtSpiNode {
    QString role;
    QString name;
};

class AtSpiTree {
  public:
    explicit AtSpiTree(const QString& busAddress);
    ~AtSpiTree();

    // The number of applications registered on the desktop.
    int applicationCount();
    // Every object of every registered application, depth first, at most `limit` of them.
    QList<AtSpiNode> readAll(int limit = 5000);

  private:
    QString connectionName_;
    QDBusConnection bus_;
};

// Names an accessibility bus on the session bus the way the desktop does ("org.a11y.Bus" with GetAddress),
// so applications started with accessibility on find it. It leaves the enabled flags unset: only processes
// that force accessibility on join.
class AccessibilityBusName : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Bus")
  public:
    explicit AccessibilityBusName(const QString& address);
    ~AccessibilityBusName() override;
    // False when the session bus has no room for it (no bus, or the name is taken).
    bool announce();

  public slots:
    QString GetAddress() const { return address_; }

  private:
    QString address_;
    bool announced_ = false;
};
