#pragma once

#include "clock/AdhanPlayer.h"
#include "clock/ClockViewModel.h"
#include "ui/face/ClockFaceController.h"
#include "ui/settings/SettingsController.h"
#include "ui/shell/UpdatePrompt.h"

#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

class AppSettings;
class LocationManager;

// What the root view decides: consent first, the start-up sequence, the error and loading states, the
// settings sheet and the pane it opens at, and the in-process events that play a prayer or reopen fresh.
// The QML only lays out what this object says.
class RootController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("created by the application")
    Q_MOC_INCLUDE("services/AppSettings.h")
    Q_PROPERTY(bool consentGiven READ consentGiven NOTIFY consentGivenChanged)
    Q_PROPERTY(bool hasBundle READ hasBundle NOTIFY hasBundleChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)
    Q_PROPERTY(bool showSettings READ showSettings WRITE setShowSettings NOTIFY showSettingsChanged)
    Q_PROPERTY(QString settingsPane READ settingsPane WRITE setSettingsPane NOTIFY settingsPaneChanged)
    // The open settings window's state, fresh at every opening; null while the window is closed (and while
    // the consent notice is up, which the window never covers).
    Q_PROPERTY(SettingsController* settingsWindow READ settingsWindow NOTIFY settingsWindowChanged)
    Q_PROPERTY(QString privacyURL READ privacyURL CONSTANT)
    Q_PROPERTY(ClockViewModel* clock READ clock CONSTANT)
    Q_PROPERTY(AdhanPlayer* player READ player CONSTANT)
    Q_PROPERTY(bool phone READ phone CONSTANT)
    // The published bundle for the panels (a ClockBundle in a QVariant; empty before the first one).
    Q_PROPERTY(QVariant bundle READ bundle NOTIFY hasBundleChanged)
    Q_PROPERTY(bool metric READ metric NOTIFY metricChanged)
    Q_PROPERTY(AppSettings* settings READ settingsObject CONSTANT)
    Q_PROPERTY(UpdatePrompt* updatePrompt READ updatePrompt CONSTANT)
  public:
    static constexpr int recheckDelayMs = 8000;
    static QString noLocationText() {
        return QStringLiteral("No location yet. Choose your city in Settings, or allow location access.");
    }

    RootController(AppSettings& settings, ClockViewModel& clock, LocationManager* location,
                   QObject* parent = nullptr);

    bool consentGiven() const;
    bool hasBundle() const;
    const QString& errorText() const { return errorText_; }
    bool showSettings() const { return showSettings_; }
    void setShowSettings(bool show);
    const QString& settingsPane() const { return settingsPane_; }
    void setSettingsPane(const QString& pane);
    QString privacyURL() const;
    ClockViewModel* clock() const { return &clock_; }
    AdhanPlayer* player() const;
    bool phone() const { return phone_; }
    QVariant bundle() const;
    bool metric() const;
    void setPhone(bool phone) { phone_ = phone; }
    AppSettings* settingsObject() const { return &settings_; }
    UpdatePrompt* updatePrompt() { return &updatePrompt_; }

    // Feeds a face's controller from the clock state: the bundle, every second's instant, the dial logo and
    // the settings the face reads. Called by the view when the face is created.
    Q_INVOKABLE void attachFace(ClockFaceController* face);

    Q_INVOKABLE void acceptPrivacy();
    // Opens the settings window at the pane, or where it was last left (General the first time).
    Q_INVOKABLE void openSettings(const QString& pane = QString());
    SettingsController* settingsWindow() const { return settingsWindow_; }
    // The settings window's lookups; tests answer them.
    void setSettingsServices(LocationSearch::Services services) { settingsServices_ = std::move(services); }
    // The window's Quit command (Ctrl+Q); the application ends the clock.
    Q_INVOKABLE void requestQuit() { Q_EMIT quitRequested(); }

    // The start-up task: hydrate, heal, arm the back-online check-in, pull the saved address, check in,
    // then load from the best known place (or show the error and look again once, 8 s later).
    QCoro::Task<> runStartup();
    // First appearance: tick, configure notifications, ask for permission.
    void firstAppearance();
    // The window came to the front again; waits for consent.
    void foregroundRefresh();

  Q_SIGNALS:
    void consentGivenChanged();
    void hasBundleChanged();
    void errorTextChanged();
    void showSettingsChanged();
    void settingsPaneChanged();
    void settingsWindowChanged();
    void metricChanged();
    void quitRequested();

  private:
    QCoro::Task<> loadBestKnownPlace(bool force, bool openSettingsWhenNone = true);
    void setErrorText(const QString& text);
    void placeSettingsChanged();
    void updateSettingsWindow();

    AppSettings& settings_;
    ClockViewModel& clock_;
    LocationManager* location_;
    QString errorText_;
    bool showSettings_ = false;
    QString settingsPane_;
    SettingsController* settingsWindow_ = nullptr;
    std::optional<LocationSearch::Services> settingsServices_;
    bool appeared_ = false;
    bool phone_ = false;
    bool startupDone_ = false;
    QTimer placeChange_;
    QTimer recheck_;
    UpdatePrompt updatePrompt_;
};
