#pragma once

#include <QtQml/qqmlregistration.h>
#include <QQuickPaintedItem>

// A painted item that renders its texture at the scale its ancestors apply (the wide face scales a whole
// 1280-point canvas), so drawings stay sharp instead of being stretched from a design-size bitmap.
// `paint` keeps drawing in item coordinates; only the texture grows. The scale is read from the scene on
// the frame after the item or its window changes size, so a resized window re-renders the textures at
// the new size while an unchanged one costs nothing per frame.
class ScaledPaintedItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(qreal renderScale READ renderScale WRITE setRenderScale NOTIFY renderScaleChanged)

  public:
    explicit ScaledPaintedItem(QQuickItem* parent = nullptr);

    qreal renderScale() const { return renderScale_; }
    void setRenderScale(qreal scale);

  signals:
    void renderScaleChanged();

  protected:
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

  private:
    void updateTextureSize();
    void followSceneScale();
    void scheduleScaleCheck();

    qreal renderScale_ = 1.0;
    QMetaObject::Connection windowWidthConnection_;
    QMetaObject::Connection windowHeightConnection_;
    bool scaleCheckPending_ = false;
};
