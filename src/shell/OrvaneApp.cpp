#include "shell/OrvaneApp.h"

#include "clock/AdhanPlayer.h"
#include "clock/ClockViewModel.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/IdleMemory.h"
#include "platform/OwnFiles.h"
#include "services/AppSettings.h"
#include "services/LocationManager.h"
#include "shell/CloseNotice.h"
#include "shell/DeepLink.h"
#include "shell/LiveLoadSteps.h"
#include "shell/MacAppDelegate.h"
#include "shell/OrvaneAutoUpdate.h"
#include "shell/QuietMoment.h"
#include "shell/WindowActivation.h"
#include "shell/WindowFit.h"
#include "ui/UiModules.h"
#include "ui/face/ClockFaceLayout.h"
#include "ui/shell/RootController.h"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <utility>

namespace {
constexpr int kStartupSettleMs = 3000;
// Long enough for a stopped player's objects to be deleted and its streaming threads to end.
constexpr int kCallSettleMs = 2000;
}  // namespace

OrvaneApp::OrvaneApp(bool phone, QObject* parent) : QObject(parent), phone_(phone) {
    // What an older build or a looser umask left readable to others is the user's alone again, before the
    // settings open.
    OwnFiles::tightenOwnFolders();
    // The settings object runs the once-per-build cleanup before it reads anything.
    settings_ = std::make_unique<AppSettings>();
    location_ = std::make_unique<LocationManager>();
    steps_ = std::make_unique<LiveLoadSteps>();
    clock_ = std::make_unique<ClockViewModel>(*settings_, *steps_);
    clock_->setLocationManager(location_.get());
    root_ = std::make_unique<RootController>(*settings_, *clock_, location_.get());
    root_->setPhone(phone_);
    updater_ = std::make_unique<OrvaneAutoUpdate>(DefaultsStore::standard(), BuildInfo::buildNumber());
    delegate_ = std::make_unique<MacAppDelegate>(updater_.get());
    MacAppDelegate::reopenHandler = [this] { showWindow(); };
    UpdatePrompt* prompt = root_->updatePrompt();
    connect(updater_.get(), &OrvaneAutoUpdate::updateAvailable, prompt, &UpdatePrompt::offer);
    connect(updater_.get(), &OrvaneAutoUpdate::manualUpdateAvailable, prompt, &UpdatePrompt::offerManual);
    connect(updater_.get(), &OrvaneAutoUpdate::installFailed, prompt, &UpdatePrompt::reportFailure);
    updater_->setQuietCheck([this] {
        const AdhanPlayer& player = AdhanPlayer::shared();
        return QuietMoment::isQuiet(clock_->bundle(), Clock::nowMs(),
                                    player.ringing() || player.emergencyRinging());
    });
    connect(prompt, &UpdatePrompt::installRequested, updater_.get(), &OrvaneAutoUpdate::installPending);
    connect(prompt, &UpdatePrompt::declined, updater_.get(), &OrvaneAutoUpdate::declinePending);

    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) root_->foregroundRefresh();
    });
    connect(clock_.get(), &ClockViewModel::faceAspectChanged, this, &OrvaneApp::fitWindowToFace);
    // The first face stands once the first bundle is shown.
    connect(clock_.get(), &ClockViewModel::bundleChanged, this, &OrvaneApp::releaseAfterSettling,
            Qt::SingleShotConnection);
    connect(root_.get(), &RootController::quitRequested, this, &OrvaneApp::quit);
    trimAfterCall_.setSingleShot(true);
    trimAfterCall_.setInterval(kCallSettleMs);
    connect(&trimAfterCall_, &QTimer::timeout, this, [] { IdleMemory::trimHeap(); });
    // Not fitted while a call covers it, the face is fitted for a shape it took meanwhile once it is over.
    connect(&trimAfterCall_, &QTimer::timeout, this, &OrvaneApp::fitWindowToFace);
    connect(&AdhanPlayer::shared(), &AdhanPlayer::changed, this, [this] {
        if (!AdhanPlayer::shared().ringing()) trimAfterCall_.start();
    });
}

OrvaneApp::~OrvaneApp() {
    MacAppDelegate::reopenHandler = nullptr;
    // The window's own teardown is no close by the user, and by then it is no longer a QQuickWindow.
    if (window_) window_->removeEventFilter(this);
    // The window goes before the objects its bindings read.
    engine_.reset();
}

bool OrvaneApp::start() {
    if (!buildWindow()) return false;
    createTrayIcon();
    if (!tray_) {
        // Nothing on screen would lead back to a closed window: the first close says how.
        closeNotice_ = std::make_unique<CloseNotice>();
        connect(closeNotice_.get(), &CloseNotice::openRequested, this, [this] { delegate_->reopen(true); });
        connect(closeNotice_.get(), &CloseNotice::quitRequested, this, &OrvaneApp::quit);
    }
    root_->runStartup();
    delegate_->applicationDidFinishLaunching();
    return true;
}

bool OrvaneApp::buildWindow() {
    engine_ = std::make_unique<QQmlApplicationEngine>();
    UiModules::prepare(*engine_);
    engine_->setInitialProperties({{QStringLiteral("controller"), QVariant::fromValue(root_.get())}});
    engine_->load(QUrl(QStringLiteral("qrc:/qt/qml/Orvane/Shell/MainWindow.qml")));
    if (!engine_->rootObjects().isEmpty())
        window_ = qobject_cast<QQuickWindow*>(engine_->rootObjects().constFirst());
    if (!window_) {
        engine_.reset();
        return false;
    }
    window_->setMinimumSize(WindowFit::minimumSize(phone_));
    if (closedGeometry_.isValid())
        window_->setGeometry(closedGeometry_);
    else
        window_->resize(WindowFit::defaultSize(phone_));
    // Maximized or full screen as it was closed; the geometry above is where it goes back to from there.
    window_->setWindowStates(closedStates_);
    window_->installEventFilter(this);
    return true;
}

void OrvaneApp::showWindow() {
    if (!window_) {
        if (!buildWindow()) return;
        releaseAfterSettling();
    }
    WindowActivation::bringForward(*window_, std::exchange(activationToken_, {}));
    if (firstShow_) {
        firstShow_ = false;
        root_->firstAppearance();
        fitWindowToFace();
    }
}

bool OrvaneApp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Close) {
        if (closeNotice_) closeNotice_->windowClosed();
        // Released once the close has run its course, and only if it really hid the window.
        QTimer::singleShot(0, this, &OrvaneApp::releaseClosedWindow);
    }
    return QObject::eventFilter(watched, event);
}

void OrvaneApp::releaseClosedWindow() {
    if (!window_ || window_->isVisible()) return;
    closedGeometry_ = window_->geometry();
    closedStates_ = window_->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    // The engine takes the window, the face, the sheets and their compiled types with it; what rings,
    // notifies and reopens lives in the C++ objects above it.
    engine_.reset();
    IdleMemory::release();
}

void OrvaneApp::releaseAfterSettling() {
    // Building a face runs a great deal once: compiling, type registration, the first load. What that left
    // behind goes back once it stands: the free heap at once, the code and data pages the ticking face never
    // reads again as the first the kernel reclaims.
    QTimer::singleShot(kStartupSettleMs, this, [] { IdleMemory::release(); });
}

void OrvaneApp::fitWindowToFace() {
    // The phone-sized window keeps its size; the desk window follows the face's proportions.
    if (!window_ || phone_ || firstShow_) return;
    // A maximized or full-screen window is sized by the desktop.
    if (window_->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    // Under a call's overlay the face is not shown, and the heights it reports then are not its shape.
    if (AdhanPlayer::shared().ringing()) return;
    const double aspect = clock_->faceAspect();
    // Only a face of another shape is fitted: a size the user chose for this one stays, so the face that
    // comes back after a call, the same as before it, leaves the window as it was.
    if (aspect == fittedAspect_ && window_->size() != fittedSize_) return;
    // Every fit starts from the size the user last chose, never from the one the previous fit left: fitting a
    // fitted size only ever shrinks it, and the window would end each call a little smaller.
    if (window_->size() != fittedSize_) chosenSize_ = window_->size();
    const QScreen* screen = window_->screen();
    const QRect usable =
        screen ? WindowFit::usableArea(screen->geometry(), screen->availableGeometry(),
                                       window_->frameMargins(), WindowFit::platformReportsWorkArea())
               : QRect();
    // Never so narrow that the face leaves its scaled canvas for the scrolling column, which has no aspect
    // to come back from: the canvas fits a window a little too narrow for it by scaling down.
    const QSize wideFace(int(ClockFaceLayout::kWideAbove) + 1, 0);
    fittedAspect_ = aspect;
    fittedSize_ = WindowFit::fitted(chosenSize_, aspect, usable)
                      .expandedTo(window_->minimumSize())
                      .expandedTo(wideFace);
    if (fittedSize_ != window_->size()) window_->resize(fittedSize_);
}

void OrvaneApp::createTrayIcon() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    trayMenu_ = std::make_unique<QMenu>();
    trayMenu_->addAction(QStringLiteral("Open Orvane"), this, [this] { delegate_->reopen(true); });
    trayMenu_->addAction(QStringLiteral("Play next call"), this, &OrvaneApp::playNextCall);
    trayMenu_->addSeparator();
    trayMenu_->addAction(QStringLiteral("Quit Orvane"), this, &OrvaneApp::quit);
    tray_ = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/orvane/shell/orvane.svg")));
    tray_->setToolTip(QStringLiteral("Orvane"));
    tray_->setContextMenu(trayMenu_.get());
    connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) delegate_->reopen(true);
    });
    tray_->show();
}

void OrvaneApp::playNextCall() {
    showWindow();
    if (clock_->bundle()) clock_->triggerAdhan(clock_->bundle()->nextPrayer.key, true);
}

void OrvaneApp::handleArguments(const QStringList& arguments, const QByteArray& activationToken) {
    activationToken_ = activationToken;
    for (const QString& argument : arguments) {
        const std::optional<QString> prayer = DeepLink::prayerToPlay(QUrl(argument));
        if (!prayer) continue;
        showWindow();
        clock_->triggerAdhan(*prayer, true);
        return;
    }
    delegate_->reopen(true);
    activationToken_.clear();
}

void OrvaneApp::quit() {
    delegate_->applicationWillTerminate();
    clock_->stopTicking();
    AdhanPlayer::shared().stop();
    if (tray_) tray_->hide();
    QCoreApplication::quit();
}
