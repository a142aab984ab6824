#include "services/QuranLibrary.h"

#include "platform/Endpoints.h"
#include "platform/Http.h"
#include "platform/OwnFiles.h"
#include "platform/StoredFile.h"
#include "services/CacheFolder.h"

#include <QCoro/QCoroFuture>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <chrono>

namespace {

constexpr std::chrono::seconds kDownloadTimeout{180};
// A stored edition larger than this is trusted as whole; a smaller one is an interrupted or error body.
constexpr qint64 kTrustedFileBytes = 10000;
// The largest edition the service holds is a few megabytes; a reply or a stored file past this is not one.
constexpr qint64 kMaxEditionBytes = 32 * Http::kMiB;

struct LoadOutcome {
    std::optional<QuranText::Index> index;
    QString error;
    QStringList damagedEditions;  // editions whose files no longer parse, or are too large, to fetch afresh
};

// Runs on a worker thread: plain values in, plain values out. Every damaged file is named, so one fetch
// can replace them all.
LoadOutcome loadFiles(const QStringList& editionIds, const QStringList& paths) {
    LoadOutcome outcome;
    QList<QuranText::EditionDocument> documents;
    for (qsizetype i = 0; i < editionIds.size(); ++i) {
        std::variant<QByteArray, StoredFile::Problem> bytes = StoredFile::read(paths[i], kMaxEditionBytes);
        if (std::get_if<StoredFile::Problem>(&bytes) == nullptr) {
            auto parsed = QuranText::parseEdition(std::get<QByteArray>(bytes));
            if (auto* document = std::get_if<QuranText::EditionDocument>(&parsed)) {
                documents.append(std::move(*document));
                continue;
            }
            if (outcome.error.isEmpty())
                outcome.error =
                    std::get<QuranText::DocumentError>(parsed) == QuranText::DocumentError::NotJson
                        ? QuranLibrary::notJsonText()
                        : QuranLibrary::cannotParseResponseText();
        } else if (std::get<StoredFile::Problem>(bytes) == StoredFile::Problem::Unreadable) {
            outcome.error = QuranLibrary::readFailedText();
            return outcome;
        } else if (outcome.error.isEmpty()) {
            outcome.error = QuranLibrary::cannotParseResponseText();
        }
        outcome.damagedEditions.append(editionIds[i]);
    }
    if (outcome.damagedEditions.isEmpty()) outcome.index = QuranText::buildIndex(documents[0], documents[1]);
    return outcome;
}

}  // namespace

QuranLibrary::QuranLibrary() = default;
QuranLibrary::~QuranLibrary() = default;

QuranLibrary& QuranLibrary::shared() {
    static QuranLibrary* instance = new QuranLibrary();  // lives as long as the process
    return *instance;
}

std::unique_ptr<QuranLibrary> QuranLibrary::createDetached() {
    return std::unique_ptr<QuranLibrary>(new QuranLibrary());
}

QString QuranLibrary::requestFailedText(const QString& why) {
    return QStringLiteral("Could not reach the Quran text service (%1).").arg(why);
}

QString QuranLibrary::storageDir() {
    const QString dir = CacheFolder::path(QStringLiteral("Quran"));
    OwnFiles::makeFolder(dir);  // a folder that cannot be made shows up as a failed write or read
    return dir;
}

QString QuranLibrary::filePath(const QString& editionId) {
    return storageDir() + QLatin1Char('/') + editionId + QStringLiteral(".json");
}

QCoro::Task<std::optional<QString>> QuranLibrary::downloadIfNeeded(QString editionId) {
    const QString path = filePath(editionId);
    const QFileInfo info(path);
    if (info.isFile() && info.isReadable() && info.size() > kTrustedFileBytes) co_return std::nullopt;

    const QUrl base = Endpoints::current().quran;
    const QUrl url = base.resolved(QUrl(QStringLiteral("/v1/quran/") + editionId));
    if (!base.isValid() || !url.isValid() || url.host().isEmpty()) co_return badAddressText();

    HttpRequest request;
    request.url = url;
    request.timeout = kDownloadTimeout;
    request.maxBodyBytes = kMaxEditionBytes;
    const HttpResponse response = co_await Http::send(std::move(request));
    if (!response.transportOk) co_return requestFailedText(response.error);
    if (!response.isSuccess()) co_return badServerResponseText();
    switch (QuranText::checkReply(response.body)) {
        case QuranText::ReplyCheck::NotJson:
            co_return notJsonText();
        case QuranText::ReplyCheck::Rejected:
            co_return cannotParseResponseText();
        case QuranText::ReplyCheck::Accepted:
            break;
    }
    if (!CacheFolder::writeAtomically(path, response.body)) co_return writeFailedText();
    co_return std::nullopt;
}

QCoro::Task<> QuranLibrary::ensureLoaded(QString translationCode) {
    // A library may be destroyed while a run waits on the network or the worker; the run then ends without
    // touching it.
    const QPointer<QuranLibrary> alive(this);
    const quint64 run = ++latestRun_;
    const auto latest = [this, run] { return run == latestRun_; };
    ++activeRuns_;
    setError(std::nullopt);
    const Edition edition = QuranText::edition(translationCode);
    if (!isDownloading_) {
        isDownloading_ = true;
        emit isDownloadingChanged();
    }
    setProgress(QStringLiteral("Downloading Arabic text…"));

    const auto fail = [&](const QString& message) {
        if (latest()) {
            setError(message);
            setReady(false);
        }
        endRun();
    };

    std::optional<QString> error = co_await downloadIfNeeded(QuranText::arabicEditionId);
    if (!alive) co_return;
    if (error) co_return fail(*error);
    if (latest())
        setProgress(QStringLiteral("Downloading ") + edition.title + QStringLiteral(" translation…"));
    error = co_await downloadIfNeeded(edition.id);
    if (!alive) co_return;
    if (error) co_return fail(*error);

    const QStringList ids{QuranText::arabicEditionId, edition.id};
    const QStringList paths{filePath(ids[0]), filePath(ids[1])};
    LoadOutcome outcome = co_await QtConcurrent::run(loadFiles, ids, paths);
    if (!alive) co_return;
    // Damaged files are all fetched afresh before the texts are read again, so one run mends them all.
    if (!outcome.damagedEditions.isEmpty()) {
        for (const QString& id : std::as_const(outcome.damagedEditions)) QFile::remove(filePath(id));
        for (const QString& id : std::as_const(outcome.damagedEditions)) {
            error = co_await downloadIfNeeded(id);
            if (!alive) co_return;
            if (error) co_return fail(*error);
        }
        outcome = co_await QtConcurrent::run(loadFiles, ids, paths);
        if (!alive) co_return;
        for (const QString& id : std::as_const(outcome.damagedEditions)) QFile::remove(filePath(id));
    }
    if (!outcome.index) co_return fail(outcome.error);
    if (latest()) {
        publish(*outcome.index);
        setReady(true);
        setProgress(QString());
    }

    for (const QString& id : QuranText::prefetchList()) {
        if (id == edition.id) continue;
        if (latest()) setProgress(QStringLiteral("Saving ") + id + QStringLiteral("…"));
        co_await downloadIfNeeded(id);  // a failure waits for the next run
        if (!alive) co_return;
    }
    if (latest()) setProgress(QString());
    endRun();
}

void QuranLibrary::endRun() {
    --activeRuns_;
    if (activeRuns_ == 0 && isDownloading_) {
        isDownloading_ = false;
        emit isDownloadingChanged();
    }
}

void QuranLibrary::setReady(bool ready) {
    if (ready == isReady_) return;
    isReady_ = ready;
    emit isReadyChanged();
}

void QuranLibrary::setProgress(const QString& text) {
    if (text == progressText_) return;
    progressText_ = text;
    emit progressTextChanged();
}

void QuranLibrary::setError(std::optional<QString> message) {
    if (message == errorMessage_) return;
    errorMessage_ = std::move(message);
    emit errorMessageChanged();
}

void QuranLibrary::publish(QuranText::Index index) {
    const bool surahsDiffer = index.surahs != index_.surahs;
    const bool parasDiffer = index.paras != index_.paras;
    index_ = std::move(index);
    if (surahsDiffer) emit surahsChanged();
    if (parasDiffer) emit parasChanged();
}

QList<QuranLibrary::Ayah> QuranLibrary::ayahs(int surah) const {
    QList<Ayah> list;
    const auto meta = std::find_if(index_.surahs.cbegin(), index_.surahs.cend(),
                                   [surah](const SurahMeta& s) { return s.id == surah; });
    if (meta == index_.surahs.cend()) return list;
    list.reserve(meta->numberOfAyahs);
    for (int k = 1; k <= meta->numberOfAyahs; ++k) {
        const QString key = QuranText::key(surah, k);
        const auto arabic = index_.arabicByKey.constFind(key);
        if (arabic == index_.arabicByKey.cend()) continue;
        list.append({surah, k, *arabic, index_.translationByKey.value(key), index_.juzByKey.value(key, 1)});
    }
    return list;
}

QuranLibrary::Position QuranLibrary::jump(int surah, int ayah) const {
    const QList<Ayah> list = ayahs(surah);
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list.at(i).number == ayah) return {surah, int(i)};
    return {surah, 0};
}
