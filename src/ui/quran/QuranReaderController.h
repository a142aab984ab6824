#pragma once

#include "services/AppSettings.h"
#include "services/QuranLibrary.h"
#include "ui/quran/SystemFullScreen.h"

#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

// What the Quran reader decides: which of its states shows, the ayah on screen and its header lines, the
// reading sizes, navigation across surahs, the saved position (restored once, then saved on every move),
// reading full screen with the window's own full screen, and the texts and enabled states of its controls.
class QuranReaderController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_MOC_INCLUDE("services/AppSettings.h")
    Q_PROPERTY(AppSettings* settings READ settings WRITE setSettings NOTIFY settingsChanged)
    Q_PROPERTY(QuranLibrary* library READ library CONSTANT)
    Q_PROPERTY(int selectedSurah READ selectedSurah NOTIFY positionChanged)
    Q_PROPERTY(int ayahIndex READ ayahIndex NOTIFY positionChanged)
    Q_PROPERTY(bool fullscreen READ fullscreen NOTIFY fullscreenChanged)
    Q_PROPERTY(bool showBrowse READ showBrowse WRITE setShowBrowse NOTIFY showBrowseChanged)
    // "loading", "error", "reading", "waiting" (ready, no ayah) or "empty".
    Q_PROPERTY(QString screenState READ screenState NOTIFY contentChanged)
    Q_PROPERTY(QString loadingText READ loadingText NOTIFY contentChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY contentChanged)
    Q_PROPERTY(bool hasSurahMeta READ hasSurahMeta NOTIFY contentChanged)
    Q_PROPERTY(QString surahName READ surahName NOTIFY contentChanged)
    Q_PROPERTY(QString surahSubtitle READ surahSubtitle NOTIFY contentChanged)
    Q_PROPERTY(QString positionLine READ positionLine NOTIFY contentChanged)
    Q_PROPERTY(QString progressNote READ progressNote NOTIFY progressNoteChanged)
    Q_PROPERTY(QString arabicText READ arabicText NOTIFY contentChanged)
    Q_PROPERTY(QString translationText READ translationText NOTIFY contentChanged)
    Q_PROPERTY(bool translationRightToLeft READ translationRightToLeft NOTIFY contentChanged)
    Q_PROPERTY(QString translationFontFamily READ translationFontFamily NOTIFY contentChanged)
    Q_PROPERTY(QString browseButtonTitle READ browseButtonTitle NOTIFY contentChanged)
    Q_PROPERTY(bool canGoPrev READ canGoPrev NOTIFY contentChanged)
    Q_PROPERTY(bool canGoNext READ canGoNext NOTIFY contentChanged)
    Q_PROPERTY(bool isReady READ isReady NOTIFY contentChanged)
    Q_PROPERTY(qreal arabicSize READ arabicSize NOTIFY sizesChanged)
    Q_PROPERTY(qreal translationSize READ translationSize NOTIFY sizesChanged)
    Q_PROPERTY(qreal surahNameSize READ surahNameSize NOTIFY sizesChanged)
    Q_PROPERTY(qreal arabicLineSpacing READ arabicLineSpacing NOTIFY sizesChanged)
    Q_PROPERTY(qreal translationLineSpacing READ translationLineSpacing NOTIFY sizesChanged)
    Q_PROPERTY(QString sizeLabel READ sizeLabel NOTIFY sizesChanged)
    Q_PROPERTY(bool canMakeSmaller READ canMakeSmaller NOTIFY sizesChanged)
    Q_PROPERTY(bool canMakeLarger READ canMakeLarger NOTIFY sizesChanged)

  public:
    explicit QuranReaderController(QObject* parent = nullptr);
    // Closing by any road saves the position and leaves the window's full screen if the reader entered it.
    ~QuranReaderController() override;

    AppSettings* settings() const { return settings_; }
    void setSettings(AppSettings* settings);
    QuranLibrary* library() const { return library_; }
    // Another library than the shared one (tests); set before the reader appears.
    void setLibrary(QuranLibrary* library);
    void setWindows(SystemFullScreen::Windows windows) {
        systemFullScreen_ = SystemFullScreen(std::move(windows));
    }

    int selectedSurah() const { return selectedSurah_; }
    int ayahIndex() const { return ayahIndex_; }
    bool fullscreen() const { return fullscreen_; }
    bool showBrowse() const { return showBrowse_; }
    void setShowBrowse(bool show);
    bool didRestoreProgress() const { return didRestoreProgress_; }
    bool enteredSystemFullScreen() const { return systemFullScreen_.entered(); }

    QString screenState() const;
    QString loadingText() const;
    QString errorText() const;
    const std::optional<QuranLibrary::Ayah>& current() const { return current_; }
    const std::optional<QuranLibrary::SurahMeta>& surahMeta() const { return surahMeta_; }
    bool hasSurahMeta() const { return surahMeta_.has_value(); }
    QString surahName() const;
    QString surahSubtitle() const;
    QString positionLine() const;
    // Whether the place read reaches the disk: never "saved" while the settings store cannot write.
    QString progressNote() const;
    QString arabicText() const { return current_ ? current_->arabic : QString(); }
    QString translationText() const { return current_ ? current_->translation : QString(); }
    bool translationRightToLeft() const;
    // Urdu reads best in Nastaliq and Arabic in Naskh; the rest in the interface font.
    QString translationFontFamily() const;
    QString browseButtonTitle() const;
    bool canGoPrev() const;
    bool canGoNext() const;
    bool isReady() const { return library_->isReady(); }

    qreal arabicSize() const { return sizes().arabic; }
    qreal translationSize() const { return sizes().translation; }
    qreal surahNameSize() const { return sizes().surahName; }
    qreal arabicLineSpacing() const { return sizes().arabicLineSpacing; }
    qreal translationLineSpacing() const { return sizes().translationLineSpacing; }
    QString sizeLabel() const;
    bool canMakeSmaller() const;
    bool canMakeLarger() const;

    // The reader came on screen: always outside reading full screen, then load, restore and take focus.
    Q_INVOKABLE void appear();
    Q_INVOKABLE void goPrev();
    Q_INVOKABLE void goNext();
    Q_INVOKABLE void stepTextSize(int steps);
    Q_INVOKABLE void closeReader();
    Q_INVOKABLE void enterReadingFullScreen();
    Q_INVOKABLE void exitReadingFullScreen();
    Q_INVOKABLE void toggleReadingFullScreen();
    // Escape: leaves reading full screen, else closes.
    Q_INVOKABLE void handleEscape();
    Q_INVOKABLE void tryAgain();
    // A row of the browse sheet was chosen.
    Q_INVOKABLE void browseSelected(int surah, int ayah);

    void autoSaveProgress();
    void restoreProgressIfNeeded();

    // The loads started by appear(), "Try again" and a change of translation (tests await them).
    QCoro::Task<> appearLoad();
    QCoro::Task<> tryAgainLoad();
    QCoro::Task<> translationChangeLoad(QString code);

  Q_SIGNALS:
    void settingsChanged();
    void positionChanged();
    void fullscreenChanged();
    void showBrowseChanged();
    void contentChanged();
    void progressNoteChanged();
    void sizesChanged();
    // The view gives the reader keyboard focus after the current update.
    void focusRequested();
    // The presenter hides the reader.
    void closeRequested();

  private:
    struct Sizes {
        qreal arabic, translation, surahName, arabicLineSpacing, translationLineSpacing;
    };
    Sizes sizes() const;
    QString translationCode() const;
    int ayahCount(int surah) const;
    void setPosition(int surah, int index);
    void takePlaceFromUser();
    void setFullscreen(bool on);
    void refresh();
    void connectLibrary();

    QPointer<AppSettings> settings_;
    QuranLibrary* library_;
    SystemFullScreen systemFullScreen_;
    int selectedSurah_ = 1;
    int ayahIndex_ = 0;
    bool fullscreen_ = false;
    bool showBrowse_ = false;
    bool didRestoreProgress_ = false;
    bool appeared_ = false;
    std::optional<QuranLibrary::Ayah> current_;
    std::optional<QuranLibrary::SurahMeta> surahMeta_;
    int currentCount_ = 0;  // ayahs of the selected surah
    QList<QMetaObject::Connection> libraryConnections_;
};
