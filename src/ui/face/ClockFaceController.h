#pragma once

#include "ClockFaceLayout.h"
#include "engine/LocalHijri.h"
#include "model/ClockBundle.h"

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <optional>

// Everything the clock face shows, as properties the QML layout binds to: the layout measurements and
// their thresholds, the texts of the centre card, header, rows and credits, the two addresses and the
// sheets' flags. It holds a copy of the bundle and the current instant; nothing here draws.
class ClockFaceController : public QObject {
    Q_OBJECT
    QML_ELEMENT

    // Inputs.
    Q_PROPERTY(double now READ now WRITE setNow NOTIFY timeChanged)
    Q_PROPERTY(bool followsClock READ followsClock WRITE setFollowsClock NOTIFY followsClockChanged)
    Q_PROPERTY(bool use24HourClock READ use24HourClock WRITE setUse24HourClock NOTIFY settingsChanged)
    Q_PROPERTY(QString learnAdhanButtonTitle READ learnAdhanButtonTitle WRITE setLearnAdhanButtonTitle NOTIFY
                   settingsChanged)
    Q_PROPERTY(QString clockId READ clockId WRITE setClockId NOTIFY settingsChanged)
    Q_PROPERTY(QUrl dialLogoUrl READ dialLogoUrl WRITE setDialLogoUrl NOTIFY bundleChanged)
    Q_PROPERTY(QString logoCacheDir READ logoCacheDir WRITE setLogoCacheDir NOTIFY bundleChanged)
    Q_PROPERTY(double windowWidth READ windowWidth WRITE setWindowWidth NOTIFY layoutChanged)
    Q_PROPERTY(double windowHeight READ windowHeight WRITE setWindowHeight NOTIFY layoutChanged)

    // Layout.
    Q_PROPERTY(bool wide READ wide NOTIFY wideChanged)
    Q_PROPERTY(double contentH READ contentH NOTIFY layoutChanged)
    Q_PROPERTY(double mainRowH READ mainRowH NOTIFY layoutChanged)
    Q_PROPERTY(double faceAspect READ faceAspect NOTIFY faceAspectChanged)
    Q_PROPERTY(double canvasHeight READ canvasHeight NOTIFY layoutChanged)
    Q_PROPERTY(double canvasScale READ canvasScale NOTIFY layoutChanged)
    Q_PROPERTY(double phoneDialSize READ phoneDialSize NOTIFY layoutChanged)
    Q_PROPERTY(double phoneFlankWidth READ phoneFlankWidth NOTIFY layoutChanged)
    Q_PROPERTY(bool phoneShowsSkyDetail READ phoneShowsSkyDetail NOTIFY bundleChanged)
    Q_PROPERTY(bool sunInClock READ sunInClock NOTIFY bundleChanged)
    Q_PROPERTY(bool moonInClock READ moonInClock NOTIFY bundleChanged)
    Q_PROPERTY(bool weatherShowsMoon READ weatherShowsMoon NOTIFY bundleChanged)
    Q_PROPERTY(double weatherFitHeight READ weatherFitHeight NOTIFY layoutChanged)
    Q_PROPERTY(QString sunImageUrl READ sunImageUrl NOTIFY bundleChanged)

    // Texts and rows.
    Q_PROPERTY(QString lang READ lang NOTIFY bundleChanged)
    // The looked-up texts of the label keys the face shows, by key.
    Q_PROPERTY(QVariantMap labels READ labels NOTIFY bundleChanged)
    Q_PROPERTY(double tzOffsetHours READ tzOffsetHours NOTIFY bundleChanged)
    Q_PROPERTY(QString cityTitle READ cityTitle NOTIFY bundleChanged)
    Q_PROPERTY(QString digitalTime READ digitalTime NOTIFY timeChanged)
    Q_PROPERTY(QString gregorianText READ gregorianText NOTIFY dateChanged)
    Q_PROPERTY(QString hijriText READ hijriText NOTIFY dateChanged)
    Q_PROPERTY(QString nextPrayerLine READ nextPrayerLine NOTIFY bundleChanged)
    Q_PROPERTY(QString learnButtonTitle READ learnButtonTitle NOTIFY bundleChanged)
    Q_PROPERTY(QVariantList prayerCells READ prayerCells NOTIFY bundleChanged)
    Q_PROPERTY(QVariantList statusPills READ statusPills NOTIFY statusPillsChanged)
    Q_PROPERTY(QVariantList events READ events NOTIFY bundleChanged)
    Q_PROPERTY(QVariantMap moon READ moon NOTIFY bundleChanged)
    Q_PROPERTY(bool hasSources READ hasSources NOTIFY bundleChanged)
    Q_PROPERTY(QString networkCredit READ networkCredit NOTIFY bundleChanged)
    Q_PROPERTY(QString feedsCredit READ feedsCredit NOTIFY bundleChanged)
    Q_PROPERTY(QString clockIdLine READ clockIdLine NOTIFY bundleChanged)
    Q_PROPERTY(QUrl logoUrl READ logoUrl NOTIFY bundleChanged)
    Q_PROPERTY(QUrl planetariumUrl READ planetariumUrl NOTIFY timeChanged)

    // Sheets and the reader overlay.
    Q_PROPERTY(bool showPlanetarium MEMBER showPlanetarium_ NOTIFY sheetsChanged)
    Q_PROPERTY(bool showCalendar MEMBER showCalendar_ NOTIFY sheetsChanged)
    Q_PROPERTY(bool showLearnAdhan MEMBER showLearnAdhan_ NOTIFY sheetsChanged)
    Q_PROPERTY(bool showQuran MEMBER showQuran_ NOTIFY sheetsChanged)

  public:
    explicit ClockFaceController(QObject* parent = nullptr);

    void setBundle(const ClockBundle& bundle);
    const ClockBundle& bundle() const { return bundle_; }
    // Reads a bundle from its JSON text; false (and the old bundle kept) when it is not one.
    Q_INVOKABLE bool loadBundleJson(const QByteArray& json);

    // Where the face takes the Hijri date of the place's civil day at an instant: the on-device calendar with
    // the confirmed day offset unless a test puts another source in.
    using HijriSource = std::function<std::optional<std::array<int, 3>>(std::int64_t utcMs,
                                                                        const LocalHijri::Location& place)>;
    void setHijriSource(HijriSource source);

    // The prayer whose call the play capsule starts: sunrise has no call and gives dhuhr; nothing when the
    // bundle carries no call records.
    static std::optional<QString> playAdhanKey(const ClockBundle& bundle);

    double now() const { return static_cast<double>(nowMs_); }
    void setNow(double msSinceEpoch);
    bool followsClock() const { return clockTimer_.isActive(); }
    void setFollowsClock(bool follow);
    bool use24HourClock() const { return use24HourClock_; }
    void setUse24HourClock(bool use);
    QString learnAdhanButtonTitle() const { return learnAdhanButtonTitle_; }
    void setLearnAdhanButtonTitle(const QString& title);
    QString clockId() const { return clockId_; }
    void setClockId(const QString& id);
    QUrl dialLogoUrl() const { return dialLogoUrl_; }
    void setDialLogoUrl(const QUrl& url);
    QString logoCacheDir() const { return logoCacheDir_; }
    void setLogoCacheDir(const QString& dir);
    double windowWidth() const { return windowWidth_; }
    void setWindowWidth(double width);
    double windowHeight() const { return windowHeight_; }
    void setWindowHeight(double height);

    bool wide() const { return ClockFaceLayout::isWide(windowWidth_); }
    double contentH() const { return contentH_; }
    double mainRowH() const { return mainRowH_; }
    double faceAspect() const { return faceAspect_; }
    double canvasHeight() const { return ClockFaceLayout::canvasHeight(contentH_); }
    double canvasScale() const {
        return ClockFaceLayout::canvasScale(windowWidth_, windowHeight_, contentH_);
    }
    double phoneDialSize() const { return ClockFaceLayout::phoneDialSize(windowWidth_, sidePanels_); }
    double phoneFlankWidth() const { return ClockFaceLayout::phoneFlankWidth(sidePanels_); }
    bool phoneShowsSkyDetail() const { return ClockFaceLayout::phoneShowsSkyDetail(sidePanels_); }
    bool sunInClock() const { return sidePanels_.sunAllowed(); }
    bool moonInClock() const { return sidePanels_.moonAllowed(); }
    bool weatherShowsMoon() const { return sidePanels_.moonInWeatherPanel(); }
    double weatherFitHeight() const { return ClockFaceLayout::weatherFitHeight(mainRowH_, sidePanels_); }
    QString sunImageUrl() const;

    // Picture sizes of the side panels in a slot of the given width.
    Q_INVOKABLE double sunPanelSize(double flankWidth) const;
    Q_INVOKABLE double moonPanelSize(double flankWidth) const;

    QString lang() const { return bundle_.lang; }
    QVariantMap labels() const;
    double tzOffsetHours() const { return bundle_.location.tzOffsetHours; }
    QString cityTitle() const;
    QString digitalTime() const { return digitalTime_; }
    QString gregorianText() const { return gregorianText_; }
    QString hijriText() const { return hijriText_; }
    QString nextPrayerLine() const;
    QString learnButtonTitle() const;
    QVariantList prayerCells() const;
    QVariantList statusPills() const;
    QVariantList events() const;
    QVariantMap moon() const;
    bool hasSources() const { return bundle_.sources.has_value(); }
    QString networkCredit() const;
    QString feedsCredit() const;
    QString clockIdLine() const;
    QUrl logoUrl() const;
    QUrl planetariumUrl() const;

    // A label of the bundle by key (its own text, the built-in English, else the key).
    Q_INVOKABLE QString label(const QString& key) const { return bundle_.label(key); }

    // The canvas's and the centre card's natural heights, reported by the layout as they change.
    Q_INVOKABLE void reportContentHeight(double height);
    Q_INVOKABLE void reportCenterColumnHeight(double height);

    // The capsules and the header's button.
    Q_INVOKABLE void playAdhan();
    Q_INVOKABLE void openSettings();

  signals:
    void timeChanged();
    void dateChanged();
    void bundleChanged();
    void statusPillsChanged();
    void settingsChanged();
    void layoutChanged();
    void wideChanged();
    void faceAspectChanged(double aspect);
    void sheetsChanged();
    void followsClockChanged();
    // Start the call for this prayer even when it already played today.
    void playAdhanRequested(const QString& prayerKey);
    void settingsRequested();

  private:
    void refreshTime();
    void refreshDate(bool force);

    ClockBundle bundle_;
    ClockFaceLayout::SidePanelTheme sidePanels_;
    std::int64_t nowMs_ = 0;
    bool use24HourClock_ = false;
    QString learnAdhanButtonTitle_;
    QString clockId_;
    QUrl dialLogoUrl_;
    QString logoCacheDir_;
    double windowWidth_ = 0;
    double windowHeight_ = 0;
    double contentH_ = ClockFaceLayout::kInitialContentHeight;
    double mainRowH_ = ClockFaceLayout::kInitialRowHeight;
    double faceAspect_ = ClockFaceLayout::faceAspect(ClockFaceLayout::kInitialContentHeight);
    QString digitalTime_;
    QString gregorianText_;
    QString hijriText_;
    int shownDayKey_ = -1;
    HijriSource hijriSource_;
    bool showPlanetarium_ = false;
    bool showCalendar_ = false;
    bool showLearnAdhan_ = false;
    bool showQuran_ = false;
    QTimer clockTimer_;
};
