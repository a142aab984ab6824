#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <cstdint>

// The computer's own time zone, noticed when it changes: the zone link in /etc replaced, a copied zone file
// or its name in /etc/timezone rewritten, timedated's Timezone changed on the system bus, or TZ set in this
// process (seen at the next recheck). Its name is read the way the C library reads the zone, never through
// Qt, which keeps a name it read once against the file it came from. Before anyone hears of a change, the C
// library and ICU are told to read the zone afresh, so whatever asks next gets the new zone.
class SystemTimeZone : public QObject {
    Q_OBJECT
  public:
    // The process's watcher over /etc, also listening to timedated.
    static SystemTimeZone& shared();
    // Watches `etcFolder`'s "localtime" and "timezone"; a test hands its own folder.
    explicit SystemTimeZone(const QString& etcFolder, QObject* parent = nullptr);

    // Reads the zone's marks again and announces a change. A few system calls and no allocation, so the
    // clock can ask once a minute in case a change went by unannounced.
    void recheck();

    // The name of the zone the C library uses with `etcFolder`'s zone files: TZ when set, else the zone the
    // link names; "UTC" with no zone file, as the C library falls back to. Empty when the zone has no name
    // (a bare rule in TZ, a copied file nothing names).
    static QString zoneIdIn(const QString& etcFolder);
    QString zoneId() const { return zoneIdIn(folder_); }

    // How many changes this process has seen: caches of things made in the system zone (its formatters)
    // compare it rather than asking the zone.
    static std::uint64_t changeCount();

  signals:
    void changed();

  private slots:
    void timedatedPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                    const QStringList& invalidated);

  private:
    std::uint64_t fingerprint() const;
    void watchFolder();
    void listenToTimedated();

    QString folder_;
    QByteArray localtimePath_;
    QByteArray timezonePath_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    std::uint64_t fingerprint_ = 0;
};
