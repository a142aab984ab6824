#pragma once

#include "ScaledPaintedItem.h"

#include <QColor>

// A filled rounded rectangle with a hairline border, drawn as one antialiased path. The cards, capsules
// and pills use it instead of a plain rectangle so scaled corners stay seamless in the software renderer.
// The software renderer draws the path straight into the window where it is damaged, so the many boxes of
// a face hold no textures; a GPU renderer gets the painted texture.
class RoundedBox : public ScaledPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY changed)
    Q_PROPERTY(QColor borderColor READ borderColor WRITE setBorderColor NOTIFY changed)
    Q_PROPERTY(qreal borderWidth READ borderWidth WRITE setBorderWidth NOTIFY changed)
    // Corner radius; one beyond half the side gives a capsule. A negative radius or border width draws
    // nothing.
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY changed)

  public:
    explicit RoundedBox(QQuickItem* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    qreal borderWidth() const { return borderWidth_; }
    void setBorderWidth(qreal width);
    qreal radius() const { return radius_; }
    void setRadius(qreal radius);

    void paint(QPainter* painter) override;
    // Draws a box of `size` in the painter's coordinates; a negative size, radius or border draws nothing.
    static void draw(QPainter* painter, const QSizeF& size, const QColor& color, const QColor& borderColor,
                     qreal borderWidth, qreal radius);

  protected:
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;

  signals:
    void changed();

  private:
    QColor color_{Qt::transparent};
    QColor borderColor_{Qt::transparent};
    qreal borderWidth_ = 0;
    qreal radius_ = 0;
};
