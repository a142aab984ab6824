#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// The user-defaults store: typed values per key, held in memory and persisted in SQLite, one transaction
// per write, so a write survives the process being killed right after it. Reads convert between types the
// way the clock's settings expect (a number read as a string gives its text, "12" read as an integer gives
// 12, "abc" gives 0). Used from the GUI thread only.
class DefaultsStore {
  public:
    enum class Type { Bool = 1, Int = 2, Double = 3, String = 4, Bytes = 5, StringList = 6, StringMap = 7 };
    using StringMap = QMap<QString, QString>;

    // One stored value with its type; `value` holds bool, qint64, double, QString, QByteArray, QStringList or
    // StringMap accordingly.
    struct Object {
        Type type = Type::String;
        QVariant value;
        bool operator==(const Object&) const = default;
    };

    // Opens (or creates) the database at `path`. A database that cannot be opened or read is moved aside
    // and a fresh one is started; with no usable file at all the store still works in memory.
    explicit DefaultsStore(const QString& path);
    ~DefaultsStore();
    DefaultsStore(const DefaultsStore&) = delete;
    DefaultsStore& operator=(const DefaultsStore&) = delete;

    // The process's store at $XDG_CONFIG_HOME/Orvane/defaults.sqlite3, opened on first use.
    static DefaultsStore& standard();
    // Closes the standard store so the next standard() opens the file of the current environment (tests
    // that change HOME, a restart simulated in one process).
    static void resetStandard();
    static QString standardPath();

    QString path() const { return path_; }
    bool isPersistent() const { return !connection_.isEmpty(); }

    bool contains(const QString& key) const { return values_.contains(key); }
    std::optional<Object> object(const QString& key) const;
    // Every key in ascending order with its value.
    QList<QPair<QString, Object>> dictionary() const;
    QStringList keys() const;

    // Typed reads with the store's conversions; absent or unconvertible gives nothing / 0 / false.
    std::optional<QString> string(const QString& key) const;
    qint64 integer(const QString& key) const;
    double doubleValue(const QString& key) const;
    bool boolean(const QString& key) const;
    std::optional<QByteArray> data(const QString& key) const;
    std::optional<QStringList> stringList(const QString& key) const;
    std::optional<StringMap> stringMap(const QString& key) const;

    // Writes return whether the value reached the disk; the in-memory value is changed in any case and a
    // failed key is retried by the next write or sync().
    bool setBool(const QString& key, bool value);
    bool setInteger(const QString& key, qint64 value);
    bool setDouble(const QString& key, double value);
    bool setString(const QString& key, const QString& value);
    bool setData(const QString& key, const QByteArray& value);
    bool setStringList(const QString& key, const QStringList& value);
    bool setStringMap(const QString& key, const StringMap& value);
    bool setObject(const QString& key, const Object& object);
    bool remove(const QString& key);

    // Retries writes that failed and checkpoints the write-ahead log; true when everything is on disk.
    bool sync();

  private:
    bool open();
    bool openAt(const QString& path);
    void moveAside(const QString& why);
    void closeConnection();
    bool load();
    bool persist(const QString& key);
    bool persistPending();

    QString path_;
    QString connection_;  // empty: memory only
    QHash<QString, Object> values_;
    QSet<QString> pending_;  // keys whose last write did not reach the disk
};
