#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <memory>

// What a screen reader sees of the applications on an accessibility bus (AT-SPI): every object under the
// registry's desktop, with its role name ("push button", "label", ...) and its accessible name.
struct AtSpiNode {
    QString role;
    QString name;
    quint64 states = 0;  // AT-SPI state bits, read only when asked for
};

// The AT-SPI state bits a test asks about.
enum class AtSpiState { Editable = 7, Enabled = 8, Focused = 12 };
inline bool hasState(const AtSpiNode& node, AtSpiState state) {
    return node.states & (quint64(1) << int(state));
}

// Whether `nodes` hold an object of that name and role (any role when `role` is empty).
inline bool hasNode(const QList<AtSpiNode>& nodes, const QString& role, const QString& name) {
    for (const AtSpiNode& n : nodes)
        if (n.name == name && (role.isEmpty() || n.role == role)) return true;
    return false;
}

class AtSpiTree {
  public:
    explicit AtSpiTree(const QString& busAddress);
    ~AtSpiTree();

    // The number of applications registered on the desktop.
    int applicationCount();
    // Every object of every registered application, depth first, at most `limit` of them, with their
    // states when asked.
    QList<AtSpiNode> readAll(int limit = 5000, bool withStates = false);
    // Runs the press action of the first object with that role and name, as a screen reader's user
    // activating it; false when there is no such object or it has no press action.
    bool press(const QString& role, const QString& name, int limit = 5000);
    // The action names of the first object with that role and name, in the order a screen reader lists
    // them (the first is its default); empty when there is no such object.
    QStringList actions(const QString& role, const QString& name, int limit = 5000);

  private:
    QString connectionName_;
    QDBusConnection bus_;
};

// A screen reader listening to an application: it asks the registry for every object, focus and window
// event, and for each one reads, as screen readers cache it, the source's role, name and states and each
// child's name, extents and text. Events are read while the caller's event loop runs.
class AtSpiListener : public QObject {
    Q_OBJECT
  public:
    struct Event {
        QString kind;  // the signal's member and its first argument, "StateChanged:showing"
        int detail = 0;
        QString role;
        QString name;
    };
    explicit AtSpiListener(const QString& busAddress);
    ~AtSpiListener() override;
    // False when the registry refused the listener.
    bool listen();
    const QList<Event>& events() const { return events_; }
    // How often an alert named `name` was announced: it started showing, which is what screen readers say.
    int announcements(const QString& name) const;

  private slots:
    void onEvent(const QDBusMessage& message);

  private:
    QString connectionName_;
    QDBusConnection bus_;
    QList<Event> events_;
    QHash<QString, QPair<QString, QString>> known_;  // role and name by bus name and path
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

// A desktop of a test's own for an application in a child process: an accessibility bus named on the
// session bus and an X server. Everything it starts stops with it.
class AccessibleDesktop {
  public:
    AccessibleDesktop();
    ~AccessibleDesktop();
    // Brings both up; on false, `whyNot` says what the machine lacks.
    bool start(QString& whyNot);
    const QString& busAddress() const { return busAddress_; }
    // The child's environment: the display, the X platform and Qt's accessibility bridge forced on.
    QProcessEnvironment environment() const;

  private:
    QProcess bus_;
    QProcess display_;
    QString busAddress_;
    QString displayNumber_;
    std::unique_ptr<AccessibilityBusName> busName_;
};
