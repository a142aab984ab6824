#pragma once

#include "ui/settings/ClockIdReclaim.h"
#include "ui/settings/LocationSearch.h"

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <optional>

class AppSettings;

// The settings window's state for one opening: the pane on show, the notification status line, the
// launch-at-login switch, the installed-audio rows and the display-name rule, with the location search and
// the clock-id reclaim beside it. It asks its presenter to rebuild the clock (`applyRequested`) on "Done",
// on every arrival at the Location pane and after a place or a clock id was applied.
class SettingsController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("created by the root view for each opening")
    Q_MOC_INCLUDE("services/AppSettings.h")
    Q_PROPERTY(AppSettings* settings READ settingsObject CONSTANT)
    Q_PROPERTY(LocationSearch* location READ location CONSTANT)
    Q_PROPERTY(ClockIdReclaim* reclaim READ reclaim CONSTANT)
    Q_PROPERTY(QStringList panes READ panes CONSTANT)
    Q_PROPERTY(QString selectedPane READ selectedPane WRITE setSelectedPane NOTIFY selectedPaneChanged)
    Q_PROPERTY(int paneIndex READ paneIndex NOTIFY selectedPaneChanged)
    Q_PROPERTY(QVariantList methods READ methods CONSTANT)
    Q_PROPERTY(QString notifStatusText READ notifStatusText NOTIFY notifStatusTextChanged)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(bool fajrCustom READ fajrCustom NOTIFY customAdhanChanged)
    Q_PROPERTY(bool regularCustom READ regularCustom NOTIFY customAdhanChanged)
  public:
    SettingsController(AppSettings& settings, QString initialPane, QVariantList methods,
                       std::optional<double> biasLat, std::optional<double> biasLon,
                       LocationSearch::Services services, QObject* parent = nullptr);

    // The six panes in tab order.
    static const QStringList& panes();

    AppSettings* settingsObject() const { return &settings_; }
    LocationSearch* location() { return &location_; }
    ClockIdReclaim* reclaim() { return &reclaim_; }
    const QString& selectedPane() const { return selectedPane_; }
    // Every arrival at the Location pane asks for a rebuild; unknown names are ignored.
    void setSelectedPane(const QString& pane);
    int paneIndex() const { return int(panes().indexOf(selectedPane_)); }
    const QVariantList& methods() const { return methods_; }
    const QString& notifStatusText() const { return notifStatusText_; }
    bool launchAtLogin() const { return launchAtLogin_; }
    // The user's change of the switch: registers or removes the autostart entry, and shows the real state
    // again when that fails.
    void setLaunchAtLogin(bool on);
    bool fajrCustom() const { return fajrCustom_; }
    bool regularCustom() const { return regularCustom_; }

    // The window came on screen: the stored city into the search field, the notification status read,
    // the switch set from the autostart entry, and the first pane shown.
    void appear();
    Q_INVOKABLE void done();

    Q_INVOKABLE void turnOnAdhan();
    Q_INVOKABLE void turnOffAdhan();
    Q_INVOKABLE void installCustomAdhan(const QString& kind, const QUrl& file);
    Q_INVOKABLE void clearCustomAdhan(const QString& kind);
    Q_INVOKABLE void allowNotifications();
    Q_INVOKABLE void openSystemSettings();
    Q_INVOKABLE void refreshNotificationStatus();

    // What the display-name field typed: stored sanitized; the field keeps its own text while focused.
    Q_INVOKABLE void editDisplayName(const QString& text);
    Q_INVOKABLE void useAccountName();
    Q_INVOKABLE void clearDisplayName();

  Q_SIGNALS:
    void selectedPaneChanged();
    void notifStatusTextChanged();
    void launchAtLoginChanged();
    void customAdhanChanged();
    void applyRequested();
    void closeRequested();

  private:
    void refreshCustomAdhan();
    void sanitizeStoredDisplayName();

    AppSettings& settings_;
    LocationSearch location_;
    ClockIdReclaim reclaim_;
    QString initialPane_;
    QString selectedPane_;
    QVariantList methods_;
    QString notifStatusText_ = QStringLiteral("Checking\u2026");
    bool launchAtLogin_ = false;
    bool fajrCustom_ = false;
    bool regularCustom_ = false;
    quint64 statusGeneration_ = 0;
};
