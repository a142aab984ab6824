#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <optional>

class QSqlError;

// The user-defaults store: typed values per key, held in memory and persisted in SQLite. The keys written
// in one pass of the event loop reach the disk together in one transaction at the end of that pass, so a
// write survives the process being killed soon after it. Reads convert between types the way the clock's
// settings expect (a number read as a string gives its text, "12" read as an integer gives 12, "abc" gives
// 0). A write the disk refuses is tried again every few seconds until it lands. Used from the GUI thread
// only.
class DefaultsStore : public QObject {
    Q_OBJECT
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

    // Opens (or creates) the database at `path`. Only a file SQLite finds damaged or not a database at all
    // is moved aside for a fresh one. A file that cannot be written now (busy or locked by another program,
    // a read-only folder or file, a full disk) is left as it is and read where it can be: the store works
    // in memory with its values, says so through failure() and tries the file again with the next write,
    // sync() and quit.
    explicit DefaultsStore(const QString& path);
    ~DefaultsStore() override;
    DefaultsStore(const DefaultsStore&) = delete;
    DefaultsStore& operator=(const DefaultsStore&) = delete;

    // The process's store at $XDG_CONFIG_HOME/Orvane/defaults.sqlite3, opened on first use. It writes its
    // last keys and closes with the application object, or, when the process ends through exit() with the
    // application still standing, before QtSql's globals go.
    static DefaultsStore& standard();
    // Closes the standard store so the next standard() opens the file of the current environment (tests
    // that change HOME, a restart simulated in one process).
    static void resetStandard();
    static QString standardPath();

    QString path() const { return path_; }
    bool isPersistent() const { return !connection_.isEmpty(); }
    // The file's values were read but it cannot be written: changes stay in memory.
    bool isReadOnly() const { return readOnly_; }
    // Where a damaged file was kept when this store moved it aside; empty when it did not.
    QString movedAsideTo() const { return movedAsideTo_; }
    // Why settings are not reaching the disk (the file cannot be opened, or writing it fails), in words for
    // the user; empty while every write is stored.
    QString failure() const { return failure_; }

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

    // Writes change the value in memory at once and queue the key for the disk, which it reaches at the
    // end of the current event-loop pass (at once when no application object exists). A value the database
    // refuses is dropped from the queue with a log line; a database that cannot be written keeps the queue,
    // sets failure() and tries again with the next write and after a pause of a few seconds at most
    // kMaxRetryMs, until the queue lands and failure() is empty again.
    void setBool(const QString& key, bool value);
    void setInteger(const QString& key, qint64 value);
    void setDouble(const QString& key, double value);
    void setString(const QString& key, const QString& value);
    void setData(const QString& key, const QByteArray& value);
    void setStringList(const QString& key, const QStringList& value);
    void setStringMap(const QString& key, const StringMap& value);
    void setObject(const QString& key, const Object& object);
    void remove(const QString& key);

    // Writes the queued keys now and checkpoints the write-ahead log; true when everything is on disk.
    bool sync();

    // The longest pause between attempts to write keys the database refused.
    static constexpr int kMaxRetryMs = 30 * 1000;

  signals:
    void failureChanged();

  private:
    enum class Opened { Yes, Damaged, Unavailable };
    bool open();
    Opened openAt(const QString& path, QString* reason);
    bool readWithoutWriting();
    bool reopenIfClosed();
    void moveAside(const QString& why);
    void closeConnection();
    bool load(QSqlError* error);
    void queue(const QString& key);
    bool persistPending();
    bool writePending();
    void retryLater();
    void setFailure(const QString& text);
    // Reopens a store opened for this process alone on a nearly full disk once the disk has room again.
    void shareOnceThereIsRoom();

    QString path_;
    QString connection_;  // empty: memory only
    QHash<QString, Object> values_;
    QSet<QString> pending_;  // keys written in memory and not yet on disk
    bool flushQueued_ = false;
    QTimer retry_;  // armed only while refused keys wait
    QString failure_;
    bool fileRead_ = false;  // the file's values have been read once
    bool readOnly_ = false;
    bool alone_ = false;  // opened with the log's index in memory, so no other program can read the file
    QString movedAsideTo_;
};
