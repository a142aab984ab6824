#include "QuickHarness.h"

#include "ui/UiModules.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QQmlComponent>
#include <QTimer>

QuickHarness::QuickHarness() {
    engine_ = std::make_unique<QQmlEngine>();
    UiModules::prepare(*engine_);
    window_ = std::make_unique<QQuickWindow>();
    window_->setColor(Qt::black);
}

QuickHarness::~QuickHarness() {
    root_.reset();
    window_.reset();
    engine_.reset();
}

QQuickItem* QuickHarness::load(const QByteArray& qml, QSize size, const QVariantMap& initialProperties) {
    QQmlComponent component(engine_.get());
    component.setData(qml, QUrl(QStringLiteral("qrc:/test/Harness.qml")));
    // Qt 6.4 crashes creating a component that did not compile.
    QObject* object =
        component.isReady() ? component.createWithInitialProperties(initialProperties) : nullptr;
    if (!object) {
        qWarning().noquote() << component.errorString();
        return nullptr;
    }
    auto* item = qobject_cast<QQuickItem*>(object);
    if (!item) {
        delete object;
        return nullptr;
    }
    root_.reset(item);
    window_->resize(size);
    item->setParentItem(window_->contentItem());
    item->setSize(size);
    window_->show();
    settle(100);
    return item;
}

void QuickHarness::settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QImage QuickHarness::grab(const QString& name) {
    settle(30);
    QImage image = window_->grabWindow();
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/ui-grabs");
    QDir().mkpath(dir);
    image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    return image;
}

QQuickItem* findItem(QQuickItem* root, const QString& objectName) {
    if (!root) return nullptr;
    if (root->objectName() == objectName) return root;
    for (QQuickItem* child : root->childItems())
        if (QQuickItem* found = findItem(child, objectName)) return found;
    return nullptr;
}

int countPixelsNear(const QImage& image, const QColor& color, int tolerance) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = line[x];
            if (qAbs(qRed(p) - color.red()) <= tolerance && qAbs(qGreen(p) - color.green()) <= tolerance &&
                qAbs(qBlue(p) - color.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}

int countPixelsAround(const QImage& image, const QQuickItem* item, const QColor& color, int tolerance) {
    const QRect drawn = item->mapRectToScene(item->boundingRect()).toRect();
    return countPixelsNear(image.copy(drawn.adjusted(-6, -6, 6, 6)), color, tolerance) -
           countPixelsNear(image.copy(drawn.adjusted(-1, -1, 1, 1)), color, tolerance);
}
