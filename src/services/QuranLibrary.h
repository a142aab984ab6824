#pragma once

#include "services/QuranText.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

// The one store of Quran text: the Arabic edition and one translation, downloaded once into
// "Orvane/Quran" under the data folder, then read, indexed by "surah.ayah" and published for the reader,
// its controls, the browse sheet and the settings' translation picker. GUI thread only; the reading and
// parsing of the multi-megabyte documents runs on a worker thread.
class QuranLibrary : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isReady READ isReady NOTIFY isReadyChanged)
    Q_PROPERTY(bool isDownloading READ isDownloading NOTIFY isDownloadingChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressTextChanged)
    Q_PROPERTY(QString errorMessage READ errorText NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY errorMessageChanged)
    Q_PROPERTY(int surahCount READ surahCount NOTIFY surahsChanged)

  public:
    using Edition = QuranText::Edition;
    using SurahMeta = QuranText::SurahMeta;
    using ParaMeta = QuranText::ParaMeta;
    using Ayah = QuranText::Ayah;

    static QuranLibrary& shared();
    // A library beside the shared one, with its own state (tests and benchmarks).
    static std::unique_ptr<QuranLibrary> createDetached();
    ~QuranLibrary() override;

    bool isReady() const { return isReady_; }
    bool isDownloading() const { return isDownloading_; }
    const QString& progressText() const { return progressText_; }
    const std::optional<QString>& errorMessage() const { return errorMessage_; }
    QString errorText() const { return errorMessage_.value_or(QString()); }
    bool hasError() const { return errorMessage_.has_value(); }
    const QList<SurahMeta>& surahs() const { return index_.surahs; }
    const QList<ParaMeta>& paras() const { return index_.paras; }
    int surahCount() const { return int(index_.surahs.size()); }
    const QHash<QString, QString>& arabicByKey() const { return index_.arabicByKey; }
    const QHash<QString, QString>& translationByKey() const { return index_.translationByKey; }
    const QHash<QString, int>& juzByKey() const { return index_.juzByKey; }

    // Downloads what is missing, reads and indexes both texts and saves the prefetch editions; every
    // outcome is reported through the published state. Runs may overlap: only the latest one started
    // publishes its result, and isDownloading stays true while any runs.
    QCoro::Task<> ensureLoaded(QString translationCode);

    QList<Ayah> ayahs(int surah) const;
    struct Position {
        int surah = 1;
        int ayahIndex = 0;
        bool operator==(const Position&) const = default;
    };
    // The index of ayah number `ayah` in ayahs(surah), 0 when the surah has no such ayah.
    Position jump(int surah, int ayah) const;

    static Edition edition(const QString& code) { return QuranText::edition(code); }
    static const std::array<Edition, 12>& translations() { return QuranText::translations(); }
    static const std::array<std::pair<int, int>, 30>& paraStarts() { return QuranText::paraStarts(); }
    static int fallbackJuz(int surah, int ayah) { return QuranText::fallbackJuz(surah, ayah); }

    // "$XDG_DATA_HOME/Orvane/Quran", created on every use.
    static QString storageDir();
    static QString filePath(const QString& editionId);

    // What errorMessage says for each failure.
    static QString badAddressText() {
        return QStringLiteral("The address of the Quran text service is not valid.");
    }
    static QString badServerResponseText() {
        return QStringLiteral("The Quran text server sent a bad response.");
    }
    static QString cannotParseResponseText() {
        return QStringLiteral("The Quran text could not be understood.");
    }
    static QString notJsonText() {
        return QStringLiteral("The data couldn’t be read because it isn’t in the correct format.");
    }
    static QString requestFailedText(const QString& why);
    static QString writeFailedText() {
        return QStringLiteral("The Quran text could not be saved on this computer.");
    }
    static QString readFailedText() { return QStringLiteral("The saved Quran text could not be read."); }

  Q_SIGNALS:
    void isReadyChanged();
    void isDownloadingChanged();
    void progressTextChanged();
    void errorMessageChanged();
    void surahsChanged();
    void parasChanged();

  private:
    QuranLibrary();
    // The edition file in place, fetched when missing or too small; the error text otherwise.
    static QCoro::Task<std::optional<QString>> downloadIfNeeded(QString editionId);
    void setReady(bool ready);
    void setProgress(const QString& text);
    void setError(std::optional<QString> message);
    void publish(QuranText::Index index);
    void endRun();

    bool isReady_ = false;
    bool isDownloading_ = false;
    QString progressText_;
    std::optional<QString> errorMessage_;
    QuranText::Index index_;
    quint64 latestRun_ = 0;
    int activeRuns_ = 0;
};
