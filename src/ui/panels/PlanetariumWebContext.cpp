#include "PlanetariumWebContext.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>

// Qt's own setter of the shared context (exported by QtGui, declared in its private headers), the one the web
// engine's initialize() uses when it runs before the application.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace PlanetariumWebContext {

namespace {
QOpenGLContext* context = nullptr;

void release() {
    if (QOpenGLContext::globalShareContext() == context) qt_gl_set_global_share_context(nullptr);
    delete context;
    context = nullptr;
}
}  // namespace

void prepare() {
    // main() has Qt make the shared context on every scene graph but the software one.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || QOpenGLContext::globalShareContext())
        return;
    context = new QOpenGLContext;
    qt_gl_set_global_share_context(context);
    // Post routines run last added first: the web engine's own, added after this one, go before it.
    qAddPostRoutine(release);
}

}  // namespace PlanetariumWebContext
