#pragma once

#include "ui/common/ScaledPaintedItem.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QVector3D>

// The moon as it looks tonight: a dark disc, the lit part between the limb and an elliptical terminator
// washed with the full-moon colour, darker craters on the lit part only, and a soft glow behind.
class MoonPhaseView : public ScaledPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double illumination READ illumination WRITE setIllumination NOTIFY changed)
    Q_PROPERTY(bool waxing READ waxing WRITE setWaxing NOTIFY changed)
    Q_PROPERTY(QColor tint READ tint WRITE setTint NOTIFY changed)
    // Craters as (x, y, radius) in units of the disc radius, x to the right and y down from the centre.
    Q_PROPERTY(QList<QVector3D> craters READ craters WRITE setCraters NOTIFY changed)

  public:
    struct Phase {
        double illumination = 0;
        bool waxing = true;
        QColor tint;
        QList<QVector3D> craters;
    };

    // The six craters the moon panels draw.
    static QList<QVector3D> standardCraters();
    // The closed outline of the lit part in a canvas of `size`.
    static QPainterPath litOutline(const QSizeF& size, double illumination, bool waxing);
    // Disc, lit part and craters into a canvas of `size` (the glow is the item's own background).
    static void drawMoon(QPainter& painter, const QSizeF& size, const Phase& phase);

    explicit MoonPhaseView(QQuickItem* parent = nullptr);

    double illumination() const { return phase_.illumination; }
    void setIllumination(double illumination);
    bool waxing() const { return phase_.waxing; }
    void setWaxing(bool waxing);
    QColor tint() const { return phase_.tint; }
    void setTint(const QColor& tint);
    QList<QVector3D> craters() const { return phase_.craters; }
    void setCraters(const QList<QVector3D>& craters);

    void paint(QPainter* painter) override;

  signals:
    void changed();

  private:
    void renderGlow(const QSizeF& size, qreal pixelScale);

    Phase phase_;
    QImage glow_;
    QSizeF glowSize_;
    qreal glowScale_ = 0;
    QColor glowTint_;
};
