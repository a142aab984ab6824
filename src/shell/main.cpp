#include "platform/SingleInstance.h"
#include "shell/OrvaneApp.h"

#include <unistd.h>
#include <QApplication>
#include <QQuickStyle>
#include <QQuickWindow>
#ifdef ORVANE_HAVE_WEBENGINE
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#endif

int main(int argc, char* argv[]) {
#ifdef ORVANE_HAVE_WEBENGINE
    // The sky map's web view: its renderer refuses to start as root unless its sandbox is off.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QtWebEngineQuick::initialize();
#endif
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
    if (!orvane.start()) return 1;
    if (!arguments.isEmpty()) orvane.handleArguments(arguments);
    return app.exec();
}
