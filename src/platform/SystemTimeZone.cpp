#include "platform/SystemTimeZone.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/timezone.h>
#include <unistd.h>
#include <QDBusConnection>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

Q_LOGGING_CATEGORY(lcSystemZone, "orvane.zone")

std::atomic<std::uint64_t> changesSeen{0};

// FNV-1a over the bytes that say which zone the computer is on.
struct Fingerprint {
    std::uint64_t value = 14695981039346656037ull;
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) value = (value ^ bytes[i]) * 1099511628211ull;
    }
    template <typename T>
    void add(const T& field) {
        add(&field, sizeof field);
    }
};

const QString timedated = QStringLiteral("org.freedesktop.timedate1");
const QString zoneProperty = QStringLiteral("Timezone");

// TZ as the C library reads it: a leading colon only says "a file follows". Nothing when unset, or when
// it names the zone file of `localtime` itself, which then counts as unset.
const char* tzSetting(const char* localtime) {
    const char* tz = std::getenv("TZ");
    if (!tz) return nullptr;
    if (tz[0] == ':') ++tz;
    return std::strcmp(tz, localtime) == 0 ? nullptr : tz;
}

// "…/zoneinfo/Europe/Berlin" (a link's target, a path in TZ) names Europe/Berlin.
QByteArray nameOfZoneFile(const QByteArray& path) {
    const qsizetype at = path.lastIndexOf("zoneinfo/");
    if (at < 0) return {};
    QByteArray name = path.mid(at + 9);
    for (const char* variant : {"posix/", "right/"})
        if (name.startsWith(variant)) name.remove(0, qsizetype(std::strlen(variant)));
    return name;
}

// The bytes of a zone file; far smaller than this.
QByteArray zoneFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1 << 20) return {};
    return file.readAll();
}

}  // namespace

SystemTimeZone& SystemTimeZone::shared() {
    static SystemTimeZone* zone = [] {
        auto* created = new SystemTimeZone(QStringLiteral("/etc"));
        created->listenToTimedated();
        return created;
    }();
    return *zone;
}

SystemTimeZone::SystemTimeZone(const QString& etcFolder, QObject* parent)
    : QObject(parent),
      folder_(etcFolder),
      localtimePath_(QFile::encodeName(etcFolder + QStringLiteral("/localtime"))),
      timezonePath_(QFile::encodeName(etcFolder + QStringLiteral("/timezone"))) {
    // The link is replaced by a rename, which only a watch on the folder sees; a file rewritten in place is
    // seen only by a watch on the file itself. The settle gathers the link and the name written one after
    // the other; it starts with the first event and no later one restarts it, so a busy /etc (a package
    // upgrade) delays a change by the settle at most.
    settle_.setSingleShot(true);
    settle_.setInterval(250);
    connect(&settle_, &QTimer::timeout, this, [this] {
        watchFolder();
        recheck();
    });
    const auto settle = [this] {
        if (!settle_.isActive()) settle_.start();
    };
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, settle);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, settle);
    watchFolder();
    fingerprint_ = fingerprint();
}

std::uint64_t SystemTimeZone::changeCount() {
    return changesSeen.load(std::memory_order_relaxed);
}

void SystemTimeZone::watchFolder() {
    // A watched file replaced by a rename drops out of the watch, so it is added again after each event.
    const QStringList watched = watcher_.files() + watcher_.directories();
    QStringList missing;
    for (const QString& path : {folder_, QFile::decodeName(localtimePath_), QFile::decodeName(timezonePath_)})
        if (!watched.contains(path) && QFileInfo::exists(path)) missing << path;
    if (!missing.isEmpty()) watcher_.addPaths(missing);
}

QString SystemTimeZone::zoneIdIn(const QString& etcFolder) {
    const QByteArray localtime = QFile::encodeName(etcFolder + QStringLiteral("/localtime"));
    if (const char* tz = tzSetting(localtime.constData())) {
        if (tz[0] == '\0') return QStringLiteral("UTC");
        return QFile::decodeName(tz[0] == '/' ? nameOfZoneFile(QByteArray(tz)) : QByteArray(tz));
    }
    struct stat file {};
    if (::stat(localtime.constData(), &file) != 0) return QStringLiteral("UTC");
    char link[PATH_MAX];
    const ssize_t linkSize = ::readlink(localtime.constData(), link, sizeof link);
    if (linkSize > 0) {
        const QByteArray name = nameOfZoneFile(QByteArray(link, linkSize));
        if (!name.isEmpty()) return QFile::decodeName(name);
    }
    // A copied zone file: the name beside it, when that zone's file holds the same rules, else the zone
    // ICU finds holding them.
    QFile nameFile(etcFolder + QStringLiteral("/timezone"));
    const QString named =
        nameFile.open(QIODevice::ReadOnly)
            ? QString::fromUtf8(nameFile.read(256)).section(QLatin1Char('\n'), 0, 0).trimmed()
            : QString();
    const QByteArray rules = zoneFileBytes(QFile::decodeName(localtime));
    if (!named.isEmpty() && !named.contains(QLatin1String("..")) && !rules.isEmpty() &&
        zoneFileBytes(QStringLiteral("/usr/share/zoneinfo/") + named) == rules)
        return named;
    const std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    icu::UnicodeString id;
    host->getID(id);
    return id == icu::UnicodeString(u"Etc/Unknown") ? QString()
                                                    : QString::fromUtf16(id.getBuffer(), id.length());
}

std::uint64_t SystemTimeZone::fingerprint() const {
    Fingerprint f;
    const char* tz = tzSetting(localtimePath_.constData());
    f.add(tz != nullptr);
    // TZ wins over /etc: nothing there changes the zone in use.
    if (tz) {
        f.add(tz, std::strlen(tz));
        return f.value;
    }
    char link[PATH_MAX];
    const ssize_t linkSize = ::readlink(localtimePath_.constData(), link, sizeof link);
    f.add(linkSize);
    if (linkSize > 0) f.add(link, std::size_t(linkSize));
    // A zone file copied over the old one (no link) is another file, or the same one written anew.
    struct stat file {};
    const bool exists = ::stat(localtimePath_.constData(), &file) == 0;
    f.add(exists);
    if (exists) {
        f.add(file.st_dev);
        f.add(file.st_ino);
        f.add(file.st_size);
        f.add(file.st_mtim.tv_sec);
        f.add(file.st_mtim.tv_nsec);
    }
    // The name beside a link is not the zone in use, nor is it without a zone file (UTC then); it only names
    // a copied file.
    if (linkSize > 0 || !exists) return f.value;
    char name[256];
    const int fd = ::open(timezonePath_.constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        const ssize_t nameSize = ::read(fd, name, sizeof name);
        ::close(fd);
        if (nameSize > 0) f.add(name, std::size_t(nameSize));
    }
    return f.value;
}

void SystemTimeZone::recheck() {
    const std::uint64_t now = fingerprint();
    if (now == fingerprint_) return;
    fingerprint_ = now;
    // The C library keeps the zone it read until tzset(), and ICU its default zone for the life of the
    // process; both are told before anyone asks them again.
    tzset();
    const QString id = zoneId();
    const QByteArray utf8 = id.toUtf8();
    icu::TimeZone* zone = icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(utf8.constData()));
    if (!zone || *zone == icu::TimeZone::getUnknown()) {
        delete zone;
        zone = icu::TimeZone::detectHostTimeZone();
    }
    icu::TimeZone::adoptDefault(zone);
    changesSeen.fetch_add(1, std::memory_order_relaxed);
    qCInfo(lcSystemZone).noquote() << "the computer's time zone is now"
                                   << (id.isEmpty() ? QString::fromUtf8(qgetenv("TZ")) : id);
    emit changed();
}

void SystemTimeZone::listenToTimedated() {
    // Where timedated runs it announces the change it made; without a system bus the files still tell.
    QDBusConnection::systemBus().connect(timedated, QStringLiteral("/org/freedesktop/timedate1"),
                                         QStringLiteral("org.freedesktop.DBus.Properties"),
                                         QStringLiteral("PropertiesChanged"), this,
                                         SLOT(timedatedPropertiesChanged(QString, QVariantMap, QStringList)));
}

void SystemTimeZone::timedatedPropertiesChanged(const QString& interface, const QVariantMap& properties,
                                                const QStringList& invalidated) {
    if (interface == timedated && (properties.contains(zoneProperty) || invalidated.contains(zoneProperty)))
        recheck();
}
