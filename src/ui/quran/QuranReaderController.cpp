#include "ui/quran/QuranReaderController.h"

#include "services/AppSettings.h"
#include "ui/quran/QuranTextSizes.h"

#include <algorithm>

QuranReaderController::QuranReaderController(QObject* parent)
    : QObject(parent), library_(&QuranLibrary::shared()) {
    connectLibrary();
    refresh();
}

QuranReaderController::~QuranReaderController() {
    autoSaveProgress();
    systemFullScreen_.exitIfNeeded();
}

void QuranReaderController::setSettings(AppSettings* settings) {
    if (settings == settings_) return;
    if (settings_) disconnect(settings_, nullptr, this, nullptr);
    settings_ = settings;
    if (settings_) {
        connect(settings_, &AppSettings::quranTextSizeChanged, this, &QuranReaderController::sizesChanged);
        connect(settings_, &AppSettings::storeFailureChanged, this,
                &QuranReaderController::progressNoteChanged);
        connect(settings_, &AppSettings::quranTranslationLangChanged, this, [this] {
            refresh();
            translationChangeLoad(translationCode());
        });
    }
    emit settingsChanged();
    emit sizesChanged();
    emit progressNoteChanged();
    refresh();
}

void QuranReaderController::setLibrary(QuranLibrary* library) {
    if (!library || library == library_) return;
    library_ = library;
    // A library that goes first (tests) leaves the reader on the shared one, so a load that resumes later
    // never reads a freed library.
    connect(library, &QObject::destroyed, this, [this, library] {
        if (library_ == library) setLibrary(&QuranLibrary::shared());
    });
    connectLibrary();
    refresh();
}

void QuranReaderController::connectLibrary() {
    for (const auto& c : libraryConnections_) disconnect(c);
    libraryConnections_.clear();
    for (auto signal : {&QuranLibrary::isReadyChanged, &QuranLibrary::isDownloadingChanged,
                        &QuranLibrary::progressTextChanged, &QuranLibrary::errorMessageChanged,
                        &QuranLibrary::surahsChanged})
        libraryConnections_ << connect(library_, signal, this, &QuranReaderController::refresh);
    // The saved place comes back as soon as the text is there, not after the editions saved for later.
    libraryConnections_ << connect(library_, &QuranLibrary::isReadyChanged, this, [this] {
        if (appeared_) restoreProgressIfNeeded();
    });
}

QString QuranReaderController::translationCode() const {
    return settings_ ? settings_->quranTranslationLang() : QStringLiteral("en");
}

int QuranReaderController::ayahCount(int surah) const {
    return int(library_->ayahs(surah).size());
}

void QuranReaderController::refresh() {
    const QList<QuranLibrary::Ayah> list = library_->ayahs(selectedSurah_);
    currentCount_ = int(list.size());
    current_.reset();
    if (!list.isEmpty()) current_ = list.at(std::min(currentCount_ - 1, std::max(ayahIndex_, 0)));
    surahMeta_.reset();
    for (const QuranLibrary::SurahMeta& meta : library_->surahs()) {
        if (meta.id == selectedSurah_) {
            surahMeta_ = meta;
            break;
        }
    }
    emit contentChanged();
}

void QuranReaderController::setPosition(int surah, int index) {
    if (surah == selectedSurah_ && index == ayahIndex_) return;
    selectedSurah_ = surah;
    ayahIndex_ = index;
    refresh();
    emit positionChanged();
    autoSaveProgress();  // a change of place is saved whoever made it
}

QString QuranReaderController::progressNote() const {
    if (settings_ && !settings_->storeFailure().isEmpty())
        return QStringLiteral("Progress is kept only while Orvane runs: settings cannot be saved");
    return QStringLiteral("Progress saved automatically");
}

QString QuranReaderController::screenState() const {
    if (library_->isDownloading() && !library_->isReady()) return QStringLiteral("loading");
    if (library_->hasError() && !library_->isReady()) return QStringLiteral("error");
    if (current_) return QStringLiteral("reading");
    if (library_->isReady()) return QStringLiteral("waiting");
    return QStringLiteral("empty");
}

QString QuranReaderController::loadingText() const {
    return library_->progressText().isEmpty() ? QStringLiteral("Preparing Qur’an…")
                                              : library_->progressText();
}

QString QuranReaderController::errorText() const {
    return library_->errorText();
}

QString QuranReaderController::surahName() const {
    return surahMeta_ ? surahMeta_->name : QString();
}

QString QuranReaderController::surahSubtitle() const {
    return surahMeta_ ? surahMeta_->englishName + QStringLiteral(" · ") + surahMeta_->englishNameTranslation
                      : QString();
}

QString QuranReaderController::positionLine() const {
    if (!surahMeta_ || !current_) return {};
    return QStringLiteral("Para %1 · Ayah %2 of %3")
        .arg(current_->juz)
        .arg(current_->number)
        .arg(surahMeta_->numberOfAyahs);
}

bool QuranReaderController::translationRightToLeft() const {
    const QString code = translationCode();
    return code == QLatin1String("ur") || code == QLatin1String("ar");
}

QString QuranReaderController::translationFontFamily() const {
    const QString code = translationCode();
    if (code == QLatin1String("ur")) return QStringLiteral("Noto Nastaliq Urdu");
    if (code == QLatin1String("ar")) return QStringLiteral("Amiri");
    return QStringLiteral("Noto Sans");
}

QString QuranReaderController::browseButtonTitle() const {
    if (!surahMeta_ || !current_) return QStringLiteral("Paras & Surahs");
    return QStringLiteral("Para %1 · %2. %3")
        .arg(current_->juz)
        .arg(surahMeta_->id)
        .arg(surahMeta_->englishName);
}

bool QuranReaderController::canGoPrev() const {
    return !(selectedSurah_ == 1 && ayahIndex_ == 0);
}

bool QuranReaderController::canGoNext() const {
    const int last = currentCount_ > 0 ? currentCount_ - 1 : 0;
    return !(selectedSurah_ >= 114 && ayahIndex_ >= last);
}

QuranReaderController::Sizes QuranReaderController::sizes() const {
    const auto row = QuranTextSizes::row(
        QuranTextSizes::parse(settings_ ? settings_->quranTextSize() : QString()), fullscreen_);
    return {row.arabic, row.translation, row.surahName, row.arabicLineSpacing, row.translationLineSpacing};
}

QString QuranReaderController::sizeLabel() const {
    return QuranTextSizes::label(QuranTextSizes::parse(settings_ ? settings_->quranTextSize() : QString()));
}

bool QuranReaderController::canMakeSmaller() const {
    return QuranTextSizes::parse(settings_ ? settings_->quranTextSize() : QString()) !=
           QuranTextSizes::Size::Small;
}

bool QuranReaderController::canMakeLarger() const {
    return QuranTextSizes::parse(settings_ ? settings_->quranTextSize() : QString()) !=
           QuranTextSizes::Size::Huge;
}

void QuranReaderController::stepTextSize(int steps) {
    if (!settings_) return;
    settings_->setQuranTextSize(QuranTextSizes::stepped(settings_->quranTextSize(), steps));
}

void QuranReaderController::takePlaceFromUser() {
    // Once the text is on screen, where the user goes is the reader's place: a restore still under way must
    // not take it back.
    if (library_->isReady()) didRestoreProgress_ = true;
}

void QuranReaderController::goPrev() {
    takePlaceFromUser();
    if (ayahIndex_ >= 1) {
        setPosition(selectedSurah_, ayahIndex_ - 1);
    } else if (selectedSurah_ >= 2) {
        const int count = ayahCount(selectedSurah_ - 1);
        setPosition(selectedSurah_ - 1, count > 0 ? count - 1 : 0);
    }
    autoSaveProgress();
}

void QuranReaderController::goNext() {
    takePlaceFromUser();
    const int next = ayahIndex_ + 1;
    if (next < currentCount_) {
        setPosition(selectedSurah_, next);
    } else if (selectedSurah_ < 114) {
        setPosition(selectedSurah_ + 1, 0);
    }
    autoSaveProgress();
}

void QuranReaderController::autoSaveProgress() {
    // Before the saved place has been restored, the place on screen is not the reader's: saving it would
    // overwrite where the user stopped.
    if (!settings_ || !didRestoreProgress_ || !library_->isReady() || !current_) return;
    if (settings_->quranResumeSurah() != current_->surah) settings_->setQuranResumeSurah(current_->surah);
    if (settings_->quranResumeAyah() != current_->number) settings_->setQuranResumeAyah(current_->number);
}

void QuranReaderController::restoreProgressIfNeeded() {
    if (didRestoreProgress_ || !library_->isReady() || !settings_) return;
    didRestoreProgress_ = true;
    const QuranLibrary::Position position = library_->jump(std::clamp(settings_->quranResumeSurah(), 1, 114),
                                                           std::max(settings_->quranResumeAyah(), 1));
    setPosition(position.surah, position.ayahIndex);
}

void QuranReaderController::setFullscreen(bool on) {
    if (on == fullscreen_) return;
    fullscreen_ = on;
    emit fullscreenChanged();
    emit sizesChanged();
}

void QuranReaderController::appear() {
    appeared_ = true;
    setFullscreen(false);
    // A text read at an earlier opening is on screen at once; its place need not wait for this load.
    restoreProgressIfNeeded();
    emit focusRequested();
    appearLoad();
}

QCoro::Task<> QuranReaderController::appearLoad() {
    QPointer<QuranReaderController> self(this);
    co_await library_->ensureLoaded(translationCode());
    if (!self) co_return;
    restoreProgressIfNeeded();
    emit focusRequested();
}

void QuranReaderController::tryAgain() {
    tryAgainLoad();
}

QCoro::Task<> QuranReaderController::tryAgainLoad() {
    QPointer<QuranReaderController> self(this);
    co_await library_->ensureLoaded(translationCode());
    // A first load that failed never restored the saved place; a later success does.
    if (self) restoreProgressIfNeeded();
}

QCoro::Task<> QuranReaderController::translationChangeLoad(QString code) {
    QPointer<QuranReaderController> self(this);
    co_await library_->ensureLoaded(code);
    if (!self) co_return;
    restoreProgressIfNeeded();
    const int count = ayahCount(selectedSurah_);
    setPosition(selectedSurah_, std::min(ayahIndex_, count > 0 ? count - 1 : 0));
    refresh();  // the same place now shows the new translation
    autoSaveProgress();
}

void QuranReaderController::closeReader() {
    autoSaveProgress();
    systemFullScreen_.exitIfNeeded();
    emit closeRequested();
}

void QuranReaderController::enterReadingFullScreen() {
    setFullscreen(true);
    systemFullScreen_.enterIfNeeded();
    emit focusRequested();  // the control that had the keyboard is gone with the bar
}

void QuranReaderController::exitReadingFullScreen() {
    setFullscreen(false);
    systemFullScreen_.exitIfNeeded();
    emit focusRequested();
}

void QuranReaderController::toggleReadingFullScreen() {
    if (fullscreen_)
        exitReadingFullScreen();
    else
        enterReadingFullScreen();
}

void QuranReaderController::handleEscape() {
    if (fullscreen_)
        exitReadingFullScreen();
    else
        closeReader();
}

void QuranReaderController::setShowBrowse(bool show) {
    if (show == showBrowse_) return;
    showBrowse_ = show;
    emit showBrowseChanged();
    if (!show) emit focusRequested();
}

void QuranReaderController::browseSelected(int surah, int ayah) {
    takePlaceFromUser();
    const QuranLibrary::Position position = library_->jump(surah, ayah);
    setPosition(position.surah, position.ayahIndex);
    autoSaveProgress();
    setShowBrowse(false);
}
