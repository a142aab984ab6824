#include "platform/SingleInstance.h"
#include "shell/OrvaneApp.h"
#include "shell/QuitSignals.h"

#include <unistd.h>
#include <QApplication>
#include <QLibrary>
#include <QQuickStyle>
#include <QQuickWindow>

namespace {
bool usesSoftwareSceneGraph() {
    const QByteArray backend =
        qgetenv("QT_QUICK_BACKEND").isEmpty() ? qgetenv("QMLSCENE_DEVICE") : qgetenv("QT_QUICK_BACKEND");
    return backend == "software";
}
}  // namespace

int main(int argc, char* argv[]) {
    // The sky map's web renderer refuses to start as root unless its sandbox is off.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // On a GPU the web view shares textures with the scene graph through one GL context shared by all,
    // which the web engine's library sets up as the application starts if it is loaded before. The
    // software scene graph has nothing to share: there the engine loads with the sky map's sheet, and a
    // clock that never opens it carries neither the engine nor a GL driver.
    if (!usesSoftwareSceneGraph()) {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        QLibrary webEngine(QStringLiteral("Qt6WebEngineCore"), 6);
        webEngine.load();
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("orvane"));
    // Closing the window leaves the clock running, with its timers, behind the tray icon.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    const QStringList arguments = app.arguments().mid(1);
    SingleInstance instance;
    const SingleInstance::Role role = instance.start(arguments);
    if (role == SingleInstance::Role::Forwarded) return 0;

    OrvaneApp orvane(qEnvironmentVariableIsSet("ORVANE_PHONE"));
    QObject::connect(&instance, &SingleInstance::messageReceived, &orvane, &OrvaneApp::handleArguments);
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &orvane, &OrvaneApp::quit);
    if (!orvane.start()) return 1;
    if (!arguments.isEmpty()) orvane.handleArguments(arguments);
    return app.exec();
}
