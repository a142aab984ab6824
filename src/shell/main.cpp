#include "platform/Endpoints.h"
#include "platform/SingleInstance.h"
#include "shell/OrvaneApp.h"
#include "shell/QuitSignals.h"
#include "shell/SelfCheck.h"
#include "shell/WindowActivation.h"

#include <malloc.h>
#include <unistd.h>
#include <QApplication>
#include <QGuiApplication>
#include <QQuickStyle>
#include <QQuickWindow>
#include <cstdio>
#include <cstring>

namespace {
// A later launch waits this long for a running clock that is too busy to answer, rather than starting a
// second one that would call every prayer twice.
constexpr int kBusyInstancePatienceMs = 5 * 60 * 1000;

bool hasFlag(int argc, char* argv[], const char* flag) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], flag) == 0) return true;
    return false;
}

// What the launch hands to a running clock: every argument after the program's name.
QStringList launchArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int refuseOverlongLink() {
    std::fprintf(stderr, "[Orvane] the link is longer than %lld bytes; it was not opened\n",
                 static_cast<long long>(SingleInstance::maxMessageBytes));
    return 2;
}

bool usesSoftwareSceneGraph() {
    const QByteArray backend =
        qgetenv("QT_QUICK_BACKEND").isEmpty() ? qgetenv("QMLSCENE_DEVICE") : qgetenv("QT_QUICK_BACKEND");
    return backend == "software";
}
}  // namespace

int main(int argc, char* argv[]) {
    // One heap for all threads, chosen before any thread starts. A clock that runs for weeks starts
    // short-lived threads all day (the decoder's and the sound server's for each call, the QML loader's for
    // each rebuilt window, Qt's for host lookups and large fills); glibc's default gives threads heaps of
    // their own, each keeping what was freed in it, and the process grew by about half a megabyte a day.
    ::mallopt(M_ARENA_MAX, 1);
    // The installer's two questions run without a display and touch no user data.
    if (hasFlag(argc, argv, "--instance-ping")) {
        QCoreApplication core(argc, argv);
        return SingleInstance().ping() ? 0 : 1;
    }
    if (hasFlag(argc, argv, "--self-check")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_QUICK_BACKEND", "software");
        QGuiApplication check(argc, argv);
        QQuickStyle::setStyle(QStringLiteral("Basic"));
        return SelfCheck::run();
    }

    // A link no clock would take is refused before anything starts or waits for a running clock.
    if (!SingleInstance::fits(launchArguments(argc, argv))) return refuseOverlongLink();
    // A running clock needs this launch's token to come forward; the application would take it away.
    const QByteArray activationToken = WindowActivation::launchToken();

    // The sky map's web renderer refuses to start as root unless its sandbox is off.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // On a GPU the sky map's web view shares textures with the scene graph through one GL context shared by
    // all, which must exist before the application does. Asking for it (and for the OpenGL scene graph the
    // web view draws into) is all that has to happen first: the web engine itself loads with the sky map's
    // sheet, so a clock that never opens it carries neither the engine nor its 21 MB. The software scene
    // graph has nothing to share, and asking here would load the GPU driver at every start (some 60 MB): the
    // sky map's sheet gives the engine the context it needs as it opens (PlanetariumWebContext).
    if (!usesSoftwareSceneGraph()) {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationVersion(BuildInfo::version());
    QGuiApplication::setDesktopFileName(QStringLiteral("orvane"));
    // Closing the window leaves the clock running, with its timers, behind the tray icon.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    const QStringList arguments = app.arguments().mid(1);
    SingleInstance instance;
    instance.setActivationToken(activationToken);
    SingleInstance::Role role = instance.start(arguments);
    if (role == SingleInstance::Role::Unanswered)
        role = instance.awaitRunning(arguments, kBusyInstancePatienceMs);
    if (role == SingleInstance::Role::Forwarded) return 0;
    if (role == SingleInstance::Role::Refused) return refuseOverlongLink();
    if (role == SingleInstance::Role::Unanswered) {
        std::fputs("[Orvane] another Orvane holds the clock but does not answer; not starting a second one\n",
                   stderr);
        return 1;
    }

    instance.answerAlsoAt(SingleInstance::formerName());

    OrvaneApp orvane(qEnvironmentVariableIsSet("ORVANE_PHONE"));
    QObject::connect(&instance, &SingleInstance::messageReceived, &orvane, &OrvaneApp::handleArguments);
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &orvane, &OrvaneApp::quit);
    if (!orvane.start()) return 1;
    if (!arguments.isEmpty()) orvane.handleArguments(arguments);
    return app.exec();
}
