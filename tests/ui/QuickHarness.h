#pragma once

#include <QImage>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QVariantMap>
#include <memory>

// Loads a piece of QML that imports the views' modules into an offscreen window, lets it settle and grabs
// what it shows. Grabs are saved as PNGs under <test binary dir>/ui-grabs so they can be looked at.
class QuickHarness {
  public:
    QuickHarness();
    ~QuickHarness();

    // The root item of `qml` laid into a window of `size`, or null with the errors printed.
    QQuickItem* load(const QByteArray& qml, QSize size, const QVariantMap& initialProperties = {});
    // Processes events for a while so bindings, layouts and painted items catch up.
    void settle(int ms = 50);
    // The window's pixels, also saved as <name>.png.
    QImage grab(const QString& name);

    QQmlEngine& engine() { return *engine_; }
    QQuickWindow& window() { return *window_; }

  private:
    std::unique_ptr<QQmlEngine> engine_;
    std::unique_ptr<QQuickWindow> window_;
    std::unique_ptr<QQuickItem> root_;
};

// Finds a descendant by objectName, or null.
QQuickItem* findItem(QQuickItem* root, const QString& objectName);
// Whether the image has at least `minCount` pixels close to `color` (per channel within `tolerance`).
int countPixelsNear(const QImage& image, const QColor& color, int tolerance = 12);
// Pixels near `color` in the band a few points outside `item`'s drawn rectangle, where a focus ring lies.
int countPixelsAround(const QImage& image, const QQuickItem* item, const QColor& color, int tolerance = 40);
