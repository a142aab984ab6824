#include "platform/SystemTimeZone.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/timezone.h>
#include <unistd.h>
#include <QDBusConnection>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimeZone>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

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
    // seen only by a watch on the file itself. The link and the name are written one after the other, and
    // are read once both are there, so one change of zone is announced once.
    settle_.setSingleShot(true);
    settle_.setInterval(250);
    connect(&settle_, &QTimer::timeout, this, [this] {
        watchFolder();
        recheck();
    });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
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

std::uint64_t SystemTimeZone::fingerprint() const {
    Fingerprint f;
    const char* tz = std::getenv("TZ");
    f.add(tz != nullptr);
    if (tz) f.add(tz, std::strlen(tz));
    char link[PATH_MAX];
    const ssize_t linkSize = ::readlink(localtimePath_.constData(), link, sizeof link);
    f.add(linkSize);
    if (linkSize > 0) f.add(link, std::size_t(linkSize));
    // A zone file copied over the old one (no link) is another file, or the same one written anew.
    struct stat file {};
    if (::stat(localtimePath_.constData(), &file) == 0) {
        f.add(file.st_dev);
        f.add(file.st_ino);
        f.add(file.st_size);
        f.add(file.st_mtim.tv_sec);
        f.add(file.st_mtim.tv_nsec);
    }
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
    icu::TimeZone::adoptDefault(icu::TimeZone::detectHostTimeZone());
    changesSeen.fetch_add(1, std::memory_order_relaxed);
    qCInfo(lcSystemZone).noquote() << "the computer's time zone is now"
                                   << QString::fromUtf8(QTimeZone::systemTimeZoneId());
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
