#include "platform/DefaultsStore.h"

#include "platform/Clock.h"
#include "platform/OwnFiles.h"

#include <sqlite3.h>
#include <sys/statvfs.h>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(lcDefaults, "orvane.defaults")

// Far past any value the clock writes (a cached reply is held to a few megabytes). A row past it is
// skipped unread, as a row that does not decode is.
constexpr qint64 kMaxValueBytes = 16 * 1024 * 1024;

// The first pause before a refused write is tried again; each further refusal doubles it up to the limit.
constexpr int kFirstRetryMs = 2000;

// Free room below which the write-ahead log's index is kept in the process's memory instead of the shared
// file beside the database. SQLite maps that file and writes into it; a page of it the file system cannot
// back (a disk full of 1 KiB blocks) ends the process with SIGBUS. The index takes 32 KiB for every 4096
// frames of the log, so this is far more than it can need, with room for what others write meanwhile.
constexpr qint64 kRoomForSharedIndex = 1024 * 1024;

// A plain pointer, so that no static destructor touches the store after QtSql's own globals are gone.
DefaultsStore*& standardInstance() {
    static DefaultsStore* instance = nullptr;
    return instance;
}

// exit() from inside the event loop (Qt's X11 plugin when the display connection breaks, libICE when the
// session manager goes) destroys no application object, so no post routine runs. Registered once QtSql's
// globals exist, this runs before their destructors do.
void closeStandardAtExit() {
    DefaultsStore*& instance = standardInstance();
    // An exit() on another thread must not race the GUI thread over the store; the writes of every pass
    // that ended have been tried already.
    if (!instance || instance->thread() != QThread::currentThread()) return;
    // Whatever watched the store stands half torn down by now; the last write reaches nobody but the disk.
    instance->blockSignals(true);
    delete std::exchange(instance, nullptr);
}

QSqlDatabase addConnection(const QString& name) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    [[maybe_unused]] static const bool closesBeforeSql = [] {
        // QtSql makes some of its globals on first use, as the log makes its category; made before the
        // registration, they outlive the close.
        { const QSqlQuery unused; }
        lcDefaults();
        return std::atexit(closeStandardAtExit) == 0;
    }();
    return db;
}

using Object = DefaultsStore::Object;
using Type = DefaultsStore::Type;

// Leading blanks, as the original store's string conversions skip them.
qsizetype skipBlanks(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s.at(i).isSpace()) ++i;
    return i;
}

// The integer at the start of the text ("12abc" is 12, "abc" is 0), saturating instead of overflowing.
qint64 integerPrefix(const QString& text) {
    qsizetype i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) negative = text.at(i++) == u'-';
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        const int digit = text.at(i).unicode() - u'0';
        if (value > (std::numeric_limits<qint64>::max() - digit) / 10) {
            return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

// The decimal number at the start of the text, independent of the process locale.
double doublePrefix(const QString& text) {
    const QByteArray bytes = text.mid(skipBlanks(text)).toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+') ++begin;
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    return result.ec == std::errc() ? value : 0.0;
}

// True for text starting with Y, y, T, t or a digit 1-9 after blanks, a sign and leading zeros.
bool booleanPrefix(const QString& text) {
    qsizetype i = skipBlanks(text);
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) ++i;
    while (i < text.size() && text.at(i) == u'0') ++i;
    if (i >= text.size()) return false;
    const QChar c = text.at(i);
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

qint64 saturatingInteger(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 9.2233720368547758e18) return std::numeric_limits<qint64>::max();
    if (value <= -9.2233720368547758e18) return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(value);
}

QByteArray encodeValue(const Object& o) {
    switch (o.type) {
        case Type::Bool:
            return o.value.toBool() ? "1" : "0";
        case Type::Int:
            return QByteArray::number(o.value.toLongLong());
        case Type::Double:
            return QByteArray::number(o.value.toDouble(), 'g', 17);
        case Type::String:
            return o.value.toString().toUtf8();
        case Type::Bytes:
            return o.value.toByteArray();
        case Type::StringList:
            return QJsonDocument(QJsonArray::fromStringList(o.value.toStringList()))
                .toJson(QJsonDocument::Compact);
        case Type::StringMap: {
            QJsonObject json;
            const auto map = o.value.value<DefaultsStore::StringMap>();
            for (auto it = map.cbegin(); it != map.cend(); ++it) json.insert(it.key(), it.value());
            return QJsonDocument(json).toJson(QJsonDocument::Compact);
        }
    }
    return {};
}

std::optional<Object> decodeValue(int type, const QByteArray& bytes) {
    bool ok = true;
    switch (Type(type)) {
        case Type::Bool:
            return Object{Type::Bool, bytes == "1"};
        case Type::Int: {
            const qint64 v = bytes.toLongLong(&ok);
            return ok ? std::optional(Object{Type::Int, v}) : std::nullopt;
        }
        case Type::Double: {
            const double v = bytes.toDouble(&ok);
            return ok ? std::optional(Object{Type::Double, v}) : std::nullopt;
        }
        case Type::String:
            return Object{Type::String, QString::fromUtf8(bytes)};
        case Type::Bytes:
            return Object{Type::Bytes, bytes};
        case Type::StringList: {
            const QJsonDocument doc = QJsonDocument::fromJson(bytes);
            if (!doc.isArray()) return std::nullopt;
            QStringList list;
            for (const QJsonValue& v : doc.array()) {
                if (!v.isString()) return std::nullopt;
                list.append(v.toString());
            }
            return Object{Type::StringList, list};
        }
        case Type::StringMap: {
            const QJsonDocument doc = QJsonDocument::fromJson(bytes);
            if (!doc.isObject()) return std::nullopt;
            DefaultsStore::StringMap map;
            const QJsonObject json = doc.object();
            for (auto it = json.begin(); it != json.end(); ++it) {
                if (!it.value().isString()) return std::nullopt;
                map.insert(it.key(), it.value().toString());
            }
            return Object{Type::StringMap, QVariant::fromValue(map)};
        }
    }
    return std::nullopt;
}

// The SQLite driver binds a null string or byte array as SQL NULL, which the table refuses; an empty value
// is stored as the empty value it is.
QByteArray nonNull(QByteArray bytes) {
    if (bytes.isNull()) bytes = QByteArray("", 0);
    return bytes;
}
QString nonNull(QString text) {
    if (text.isNull()) text = QStringLiteral("");
    return text;
}

// Errors that say the database itself cannot be written now (full disk, read-only or locked file, I/O),
// as opposed to one value it refuses. Those keep every queued key for a later attempt.
bool isDatabaseFault(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (!ok) return true;
    switch (code) {
        case 5:   // SQLITE_BUSY
        case 6:   // SQLITE_LOCKED
        case 7:   // SQLITE_NOMEM
        case 8:   // SQLITE_READONLY
        case 10:  // SQLITE_IOERR
        case 11:  // SQLITE_CORRUPT
        case 13:  // SQLITE_FULL
        case 14:  // SQLITE_CANTOPEN
        case 15:  // SQLITE_PROTOCOL
        case 26:  // SQLITE_NOTADB
            return true;
        default:
            return false;
    }
}

// SQLite's word that the file itself is damaged or no database at all; anything else (busy, locked,
// read-only, full, I/O) may pass and never justifies giving up the file.
bool isDamage(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    return ok && (code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */);
}

sqlite3* connectionOf(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// Why SQLite failed, in words that name the cause. A full disk is called so: SQLite says "database or disk
// is full" for the database and its log, and only "disk I/O error" when the file of the log's index
// cannot grow.
QString errorText(const QSqlError& error, const QSqlDatabase& db) {
    sqlite3* connection = connectionOf(db);
    bool ok = false;
    int code = error.nativeErrorCode().toInt(&ok);
    // QtSql gives no code for a commit that failed; the connection still holds it.
    if (!ok && connection) code = sqlite3_extended_errcode(connection);
    code &= 0xff;
    // SQLite records the system's error for these two only; at other times it is an earlier one's.
    const int cause = connection && (code == SQLITE_IOERR || code == SQLITE_CANTOPEN)
                          ? sqlite3_system_errno(connection)
                          : 0;
    if (code == SQLITE_FULL || cause == ENOSPC) return QStringLiteral("disk full");
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (text.isEmpty())
        text =
            code != SQLITE_OK ? QStringLiteral("SQLite error %1").arg(code) : QStringLiteral("unknown error");
    if (cause != 0) text += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(cause));
    return text;
}

struct FileCheck {
    bool ok = true;
    bool damaged = false;
    QString reason;
};

FileCheck failedCheck(const QSqlError& error, const QSqlDatabase& db) {
    return {false, isDamage(error), errorText(error, db)};
}

// Whether the disk has room for the shared index of the write-ahead log, grown to what the log left by a
// process that was killed may need.
bool roomForSharedIndex(const QString& path) {
    struct statvfs disk = {};
    if (::statvfs(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &disk) != 0) return true;
    const qint64 room = qint64(disk.f_bavail) * qint64(disk.f_frsize);
    return room >= kRoomForSharedIndex + QFileInfo(path + QStringLiteral("-wal")).size() / 64;
}

// Opens the file, checks it and sets it up for the store. With `indexInMemory` the connection holds the
// file alone until it closes, and SQLite keeps the log's index in its own memory instead of a shared file.
FileCheck prepareFile(QSqlDatabase& db, bool indexInMemory) {
    if (!db.open()) return failedCheck(db.lastError(), db);
    QSqlQuery q(db);
    // Only before the first read: SQLite then never maps the shared file, not even to recover the log.
    if (indexInMemory && !q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")))
        return failedCheck(q.lastError(), db);
    q.finish();
    // A damaged file often opens fine and fails only on the first read, so check it before trusting it.
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) return failedCheck(q.lastError(), db);
    if (const QString verdict = q.value(0).toString(); verdict != u"ok") return {false, true, verdict};
    q.finish();
    for (const char* sql :
         {"PRAGMA journal_mode=WAL",
          // Grouped writes make NORMAL enough: a commit in WAL mode survives the process
          // being killed, and only a power cut can lose the last few.
          "PRAGMA synchronous=NORMAL",
          "CREATE TABLE IF NOT EXISTS defaults (key TEXT PRIMARY KEY NOT NULL, type INTEGER "
          "NOT NULL, value BLOB NOT NULL)",
          // SQLite quietly opens a file it may not write read-only; asking for the write lock shows it.
          "BEGIN IMMEDIATE", "ROLLBACK"}) {
        if (!q.exec(QString::fromLatin1(sql))) return failedCheck(q.lastError(), db);
        q.finish();
    }
    return {};
}

}  // namespace

DefaultsStore::DefaultsStore(const QString& path) : path_(path) {
    retry_.setSingleShot(true);
    retry_.setInterval(kFirstRetryMs);
    connect(&retry_, &QTimer::timeout, this, [this] {
        // Each refusal in a row waits longer, up to the limit; a write that lands starts again from the
        // first.
        retry_.setInterval(std::min(retry_.interval() * 2, kMaxRetryMs));
        persistPending();
    });
    open();
    // Quitting flushes what the last pass of the event loop left queued.
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &DefaultsStore::sync);
}

DefaultsStore::~DefaultsStore() {
    persistPending();
    closeConnection();
}

DefaultsStore& DefaultsStore::standard() {
    DefaultsStore*& instance = standardInstance();
    if (!instance) {
        instance = new DefaultsStore(standardPath());
        // The database connections of QtSql are gone by the time static objects are destroyed, so the
        // store writes its last keys and closes with the application object.
        if (QCoreApplication::instance()) {
            qRemovePostRoutine(&DefaultsStore::resetStandard);  // once per application object
            qAddPostRoutine(&DefaultsStore::resetStandard);
        }
    }
    return *instance;
}

void DefaultsStore::resetStandard() {
    delete std::exchange(standardInstance(), nullptr);
}

QString DefaultsStore::standardPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Orvane/defaults.sqlite3");
}

bool DefaultsStore::open() {
    QString reason;
    Opened opened = openAt(path_, &reason);
    if (opened == Opened::Damaged) {
        moveAside(QStringLiteral("damaged (") + reason + u')');
        opened = openAt(path_, &reason);
    }
    if (opened != Opened::Yes) {
        // The settings the file holds are the user's even where they cannot be changed: a full disk or a
        // read-only folder must not look like a first run.
        if (readOnly_ || (!fileRead_ && readWithoutWriting())) {
            readOnly_ = true;
            setFailure(QStringLiteral("Settings cannot be saved: %1 can be read but not written (%2). Orvane "
                                      "uses the saved settings; changes are kept only while it runs.")
                           .arg(path_, reason));
            return false;
        }
        setFailure(
            QStringLiteral("Settings cannot be saved: %1 could not be opened (%2). Orvane tries again "
                           "with the next change and shortly after, until it succeeds; until then changes "
                           "are kept only while it runs.")
                .arg(path_, reason));
        return false;
    }
    readOnly_ = false;
    setFailure(QString());
    return true;
}

// Reads the file's values through a connection that never writes. In a read-only folder or on a full disk
// SQLite cannot make the files of its write-ahead log; as immutable it reads the database file alone.
bool DefaultsStore::readWithoutWriting() {
    if (!QFileInfo(path_).isFile()) return false;
    const QString uri = QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded);
    // Immutable reads take no lock and skip the log: only for a file no writer has a log open on.
    const bool logEmpty = QFileInfo(path_ + QStringLiteral("-wal")).size() == 0;
    for (const QString& query : {QStringLiteral("?mode=ro"), QStringLiteral("?mode=ro&immutable=1")}) {
        if (query.contains(u"immutable") && !logEmpty) break;
        static std::atomic<int> serial{0};
        connection_ = QStringLiteral("orvane.defaults.readonly.%1").arg(serial.fetch_add(1));
        bool loaded = false;
        {
            QSqlDatabase db = addConnection(connection_);
            db.setDatabaseName(uri + query);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
            QSqlError error;
            loaded = db.open() && load(&error);
        }
        closeConnection();
        if (loaded) return true;
    }
    return false;
}

// The file was unusable before (another program held it, the disk was full); it may be usable now.
bool DefaultsStore::reopenIfClosed() {
    return !connection_.isEmpty() || open();
}

DefaultsStore::Opened DefaultsStore::openAt(const QString& path, QString* reason) {
    static std::atomic<int> serial{0};
    if (!OwnFiles::makeFolder(QFileInfo(path).absolutePath())) {
        *reason = QStringLiteral("its folder cannot be created, or belongs to another account");
        return Opened::Unavailable;
    }
    // SQLite gives its log files the database's mode, so the database is the user's alone before it opens.
    OwnFiles::createFile(path);
    for (const char* log : {"-wal", "-shm"}) OwnFiles::tighten(path + QLatin1String(log));
    connection_ = QStringLiteral("orvane.defaults.%1").arg(serial.fetch_add(1));
    const bool indexInMemory = !roomForSharedIndex(path);
    if (indexInMemory)
        qCWarning(lcDefaults).noquote() << "the disk holding" << path
                                        << "is nearly full: it is opened for Orvane alone, with the index of "
                                           "its log in memory";
    FileCheck check;
    {
        QSqlDatabase db = addConnection(connection_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        check = prepareFile(db, indexInMemory);
    }
    if (check.ok) {
        QSqlError error;
        if (!load(&error)) check = failedCheck(error, QSqlDatabase::database(connection_, false));
    }
    if (check.ok) {
        alone_ = indexInMemory;
        return Opened::Yes;
    }
    *reason = check.reason;
    closeConnection();
    return check.damaged ? Opened::Damaged : Opened::Unavailable;
}

bool DefaultsStore::load(QSqlError* error) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT key, type, value FROM defaults WHERE length(value) <= %1")
                    .arg(kMaxValueBytes))) {
        *error = q.lastError();
        return false;
    }
    QHash<QString, Object> loaded;
    while (q.next()) {
        // A row that does not decode is skipped rather than costing every other setting.
        if (auto o = decodeValue(q.value(1).toInt(), q.value(2).toByteArray())) {
            loaded.insert(q.value(0).toString(), std::move(*o));
        }
    }
    if (q.lastError().isValid()) {
        *error = q.lastError();
        return false;
    }
    // Keys written in memory while the file could not be read are written out, except where the file holds
    // a value already: those writes were made without knowing it (a seeded default, a fresh identifier), and
    // the file holds what the user chose.
    qsizetype kept = 0;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (!fileRead_ && loaded.contains(*it)) {
            ++kept;
            it = pending_.erase(it);
            continue;
        }
        if (const auto v = values_.constFind(*it); v != values_.cend()) {
            loaded.insert(*it, *v);
        } else {
            loaded.remove(*it);
        }
        ++it;
    }
    if (kept > 0)
        qCWarning(lcDefaults).noquote() << "settings database readable again;" << kept
                                        << "keys written meanwhile keep the values it holds";
    values_ = std::move(loaded);
    fileRead_ = true;
    return true;
}

void DefaultsStore::closeConnection() {
    if (connection_.isEmpty()) return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
}

void DefaultsStore::moveAside(const QString& why) {
    closeConnection();
    if (!QFileInfo::exists(path_)) return;
    const QString suffix =
        QStringLiteral(".broken-") + Clock::now().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    qCWarning(lcDefaults).noquote() << "settings database" << why << "- moved aside to" << path_ + suffix
                                    << "and started afresh";
    for (const QString& extra : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile::remove(path_ + extra + suffix);
        if (QFile::rename(path_ + extra, path_ + extra + suffix)) {
            if (extra.isEmpty()) movedAsideTo_ = path_ + suffix;
        } else {
            QFile::remove(path_ + extra);
        }
    }
}

void DefaultsStore::queue(const QString& key) {
    pending_.insert(key);
    if (flushQueued_) return;
    if (!QCoreApplication::instance()) {
        persistPending();
        return;
    }
    flushQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            flushQueued_ = false;
            persistPending();
        },
        Qt::QueuedConnection);
}

bool DefaultsStore::persistPending() {
    const bool anything = !pending_.isEmpty();
    if (!writePending()) return false;
    if (anything) shareOnceThereIsRoom();
    return true;
}

bool DefaultsStore::writePending() {
    if (pending_.isEmpty()) return true;
    if (!reopenIfClosed()) {
        retryLater();
        return false;
    }
    if (pending_.isEmpty()) return true;  // the file, read at last, already held every key written
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const auto fail = [&](const QSqlError& error) {
        // Named before the rollback, which may fail in turn and leave another cause behind.
        const QString cause = errorText(error, db);
        db.rollback();
        setFailure(
            QStringLiteral("Settings could not be saved to %1 (%2). Orvane tries again shortly and with "
                           "the next change; until then changes are kept only while it runs.")
                .arg(path_, cause));
        retryLater();
        return false;
    };
    if (!db.transaction()) return fail(db.lastError());
    QSqlQuery upsert(db);
    QSqlQuery erase(db);
    if (!upsert.prepare(
            QStringLiteral("INSERT OR REPLACE INTO defaults (key, type, value) VALUES (?, ?, ?)")))
        return fail(upsert.lastError());
    if (!erase.prepare(QStringLiteral("DELETE FROM defaults WHERE key = ?"))) return fail(erase.lastError());
    for (const QString& key : std::as_const(pending_)) {
        const auto it = values_.constFind(key);
        QSqlQuery& q = it == values_.cend() ? erase : upsert;
        q.bindValue(0, nonNull(key));
        if (it != values_.cend()) {
            q.bindValue(1, int(it->type));
            q.bindValue(2, nonNull(encodeValue(*it)));
        }
        if (q.exec()) continue;
        const QSqlError error = q.lastError();
        if (isDatabaseFault(error)) {
            upsert.finish();
            erase.finish();
            return fail(error);
        }
        // One value the database refuses must not keep every later write off the disk.
        qCWarning(lcDefaults).noquote()
            << "settings key" << key << "could not be stored and was dropped:" << errorText(error, db);
    }
    upsert.finish();
    erase.finish();
    if (!db.commit()) return fail(db.lastError());
    pending_.clear();
    retry_.stop();
    retry_.setInterval(kFirstRetryMs);
    setFailure(QString());
    return true;
}

void DefaultsStore::shareOnceThereIsRoom() {
    if (!alone_ || !roomForSharedIndex(path_)) return;
    // SQLite leaves this mode only with the connection, which folds its log into the file as it closes.
    qCInfo(lcDefaults).noquote() << "the disk holding" << path_
                                 << "has room again: it is opened to other programs again";
    closeConnection();
    alone_ = false;
    open();
}

// Keys the database refused land once the disk takes them again (room made, the other program gone), not
// only with the next change or at quit: a crash or power cut meanwhile would lose them.
void DefaultsStore::retryLater() {
    if (!pending_.isEmpty() && !retry_.isActive() && QCoreApplication::instance()) retry_.start();
}

void DefaultsStore::setFailure(const QString& text) {
    if (text == failure_) return;
    failure_ = text;
    if (!text.isEmpty())
        qCWarning(lcDefaults).noquote() << text;
    else
        qCInfo(lcDefaults).noquote() << "settings are being saved again to" << path_;
    emit failureChanged();
}

bool DefaultsStore::sync() {
    if (!reopenIfClosed() || !persistPending()) return false;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    return q.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

std::optional<DefaultsStore::Object> DefaultsStore::object(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it == values_.cend()) return std::nullopt;
    return *it;
}

QStringList DefaultsStore::keys() const {
    QStringList list = values_.keys();
    list.sort();
    return list;
}

QList<QPair<QString, DefaultsStore::Object>> DefaultsStore::dictionary() const {
    QList<QPair<QString, Object>> list;
    for (const QString& key : keys()) list.append({key, values_.value(key)});
    return list;
}

std::optional<QString> DefaultsStore::string(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it == values_.cend()) return std::nullopt;
    switch (it->type) {
        case Type::String:
            return it->value.toString();
        case Type::Int:
            return QString::number(it->value.toLongLong());
        case Type::Double:
            return QString::number(it->value.toDouble(), 'g', QLocale::FloatingPointShortest);
        case Type::Bool:
            return it->value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        default:
            return std::nullopt;
    }
}

qint64 DefaultsStore::integer(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it == values_.cend()) return 0;
    switch (it->type) {
        case Type::Int:
            return it->value.toLongLong();
        case Type::Double:
            return saturatingInteger(it->value.toDouble());
        case Type::Bool:
            return it->value.toBool() ? 1 : 0;
        case Type::String:
            return integerPrefix(it->value.toString());
        default:
            return 0;
    }
}

double DefaultsStore::doubleValue(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it == values_.cend()) return 0.0;
    switch (it->type) {
        case Type::Double:
            return it->value.toDouble();
        case Type::Int:
            return double(it->value.toLongLong());
        case Type::Bool:
            return it->value.toBool() ? 1.0 : 0.0;
        case Type::String:
            return doublePrefix(it->value.toString());
        default:
            return 0.0;
    }
}

bool DefaultsStore::boolean(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it == values_.cend()) return false;
    switch (it->type) {
        case Type::Bool:
            return it->value.toBool();
        case Type::Int:
            return it->value.toLongLong() != 0;
        case Type::Double:
            return it->value.toDouble() != 0.0;
        case Type::String:
            return booleanPrefix(it->value.toString());
        default:
            return false;
    }
}

std::optional<QByteArray> DefaultsStore::data(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it == values_.cend()) return std::nullopt;
    if (it->type == Type::Bytes) return it->value.toByteArray();
    if (it->type == Type::String) return it->value.toString().toUtf8();
    return std::nullopt;
}

std::optional<QStringList> DefaultsStore::stringList(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it == values_.cend() || it->type != Type::StringList) return std::nullopt;
    return it->value.toStringList();
}

std::optional<DefaultsStore::StringMap> DefaultsStore::stringMap(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it == values_.cend() || it->type != Type::StringMap) return std::nullopt;
    return it->value.value<StringMap>();
}

void DefaultsStore::setObject(const QString& key, const Object& object) {
    values_.insert(key, object);
    queue(key);
}

void DefaultsStore::setBool(const QString& key, bool value) {
    setObject(key, {Type::Bool, value});
}
void DefaultsStore::setInteger(const QString& key, qint64 value) {
    setObject(key, {Type::Int, value});
}
void DefaultsStore::setDouble(const QString& key, double value) {
    setObject(key, {Type::Double, value});
}
void DefaultsStore::setString(const QString& key, const QString& value) {
    setObject(key, {Type::String, value});
}
void DefaultsStore::setData(const QString& key, const QByteArray& value) {
    setObject(key, {Type::Bytes, value});
}
void DefaultsStore::setStringList(const QString& key, const QStringList& value) {
    setObject(key, {Type::StringList, value});
}
void DefaultsStore::setStringMap(const QString& key, const StringMap& value) {
    setObject(key, {Type::StringMap, QVariant::fromValue(value)});
}

void DefaultsStore::remove(const QString& key) {
    values_.remove(key);
    queue(key);
}
