#include "MoonPhaseView.h"

#include "MoonColors.h"

#include <QPainter>
#include <QQuickWindow>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kGlowOpacity = 0.22;
constexpr double kGlowBlurRadius = 14;

// Three box blurs approximate a Gaussian; premultiplied pixels keep the edge colour right.
void boxBlur(QImage& image, int radius) {
    if (radius < 1) return;
    const int w = image.width();
    const int h = image.height();
    std::vector<QRgb> line(std::max(w, h));
    auto pass = [&](bool horizontal) {
        const int outer = horizontal ? h : w;
        const int inner = horizontal ? w : h;
        for (int o = 0; o < outer; ++o) {
            auto px = [&](int i) -> QRgb& {
                return horizontal ? reinterpret_cast<QRgb*>(image.scanLine(o))[i]
                                  : reinterpret_cast<QRgb*>(image.scanLine(i))[o];
            };
            for (int i = 0; i < inner; ++i) line[i] = px(i);
            int sum[4] = {0, 0, 0, 0};
            const int window = 2 * radius + 1;
            for (int i = -radius; i <= radius; ++i) {
                const QRgb c = (i >= 0 && i < inner) ? line[i] : 0;
                sum[0] += qAlpha(c), sum[1] += qRed(c), sum[2] += qGreen(c), sum[3] += qBlue(c);
            }
            for (int i = 0; i < inner; ++i) {
                px(i) = qRgba(sum[1] / window, sum[2] / window, sum[3] / window, sum[0] / window);
                const int out = i - radius;
                const int in = i + radius + 1;
                const QRgb co = (out >= 0 && out < inner) ? line[out] : 0;
                const QRgb ci = (in >= 0 && in < inner) ? line[in] : 0;
                sum[0] += qAlpha(ci) - qAlpha(co), sum[1] += qRed(ci) - qRed(co);
                sum[2] += qGreen(ci) - qGreen(co), sum[3] += qBlue(ci) - qBlue(co);
            }
        }
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
}

QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(static_cast<float>(alpha));
    return colour;
}

}  // namespace

QList<QVector3D> MoonPhaseView::standardCraters() {
    return {{-0.30f, -0.25f, 0.13f}, {0.25f, 0.10f, 0.10f},  {0.05f, 0.40f, 0.08f},
            {0.40f, -0.35f, 0.06f},  {-0.15f, 0.30f, 0.05f}, {-0.45f, 0.15f, 0.05f}};
}

QPainterPath MoonPhaseView::litOutline(const QSizeF& size, double illumination, bool waxing) {
    const double r = std::min(size.width(), size.height()) / 2 - 2;
    const double cx = size.width() / 2;
    const double cy = size.height() / 2;
    // NaN counts as new moon: max/min below would otherwise carry it into every point.
    if (std::isnan(illumination)) illumination = 0;
    const double k = illumination >= 1 ? -1 : 1 - 2 * std::max(illumination, 0.0);
    const double a = r * k;
    const double s = waxing ? 1 : -1;
    QPainterPath path;
    for (int i = 0; i <= 72; ++i) {
        const double theta = M_PI * i / 72;
        const QPointF p(cx + s * r * std::sin(theta), cy - r * std::cos(theta));
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    for (int j = 0; j <= 72; ++j) {
        const double theta = M_PI * (1 - j / 72.0);
        path.lineTo(cx + s * a * std::sin(theta), cy - r * std::cos(theta));
    }
    path.closeSubpath();
    path.setFillRule(Qt::WindingFill);
    return path;
}

void MoonPhaseView::drawMoon(QPainter& p, const QSizeF& size, const Phase& phase) {
    const double r = std::min(size.width(), size.height()) / 2 - 2;
    if (!(r > 0)) return;  // too small a canvas draws nothing
    const double cx = size.width() / 2;
    const double cy = size.height() / 2;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    QRadialGradient disc(QPointF(cx, cy), r);
    disc.setColorAt(0, QColor::fromRgbF(0.16f, 0.16f, 0.16f));
    disc.setColorAt(1, QColor::fromRgbF(0.05f, 0.05f, 0.05f));
    p.setBrush(disc);
    p.drawEllipse(QRectF(cx - r, cy - r, 2 * r, 2 * r));

    const QPainterPath lit = litOutline(size, phase.illumination, phase.waxing);
    const double s = phase.waxing ? 1 : -1;
    QRadialGradient wash(QPointF(cx + s * 0.35 * r, cy - 0.2 * r), 1.5 * r);
    wash.setColorAt(0, withAlpha(phase.tint, 1.0));
    wash.setColorAt(0.5, withAlpha(phase.tint, 0.65));
    wash.setColorAt(1, withAlpha(phase.tint, 0.4));
    p.setBrush(wash);
    p.drawPath(lit);

    p.setClipPath(lit);
    p.setBrush(QColor::fromRgbF(0, 0, 0, 0.14f));
    for (const QVector3D& crater : phase.craters) {
        const double rc = r * crater.z();
        if (!(rc > 0)) continue;
        p.drawEllipse(QRectF(cx + r * crater.x() - rc, cy + r * crater.y() - rc, 2 * rc, 2 * rc));
    }
    p.restore();
}

MoonPhaseView::MoonPhaseView(QQuickItem* parent) : ScaledPaintedItem(parent) {
    phase_.tint = MoonColors::tint({});
    phase_.craters = standardCraters();
}

void MoonPhaseView::setIllumination(double illumination) {
    if (illumination == phase_.illumination) return;
    phase_.illumination = illumination;
    update();
    emit changed();
}

void MoonPhaseView::setWaxing(bool waxing) {
    if (waxing == phase_.waxing) return;
    phase_.waxing = waxing;
    update();
    emit changed();
}

void MoonPhaseView::setTint(const QColor& tint) {
    if (tint == phase_.tint) return;
    phase_.tint = tint;
    update();
    emit changed();
}

void MoonPhaseView::setCraters(const QList<QVector3D>& craters) {
    if (craters == phase_.craters) return;
    phase_.craters = craters;
    update();
    emit changed();
}

void MoonPhaseView::renderGlow(const QSizeF& size, qreal pixelScale) {
    glow_ = QImage(qMax(1, qCeil(size.width() * pixelScale)), qMax(1, qCeil(size.height() * pixelScale)),
                   QImage::Format_ARGB32_Premultiplied);
    glow_.fill(Qt::transparent);
    {
        QPainter p(&glow_);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(pixelScale, pixelScale);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(phase_.tint, kGlowOpacity));
        const double d = std::min(size.width(), size.height());
        p.drawEllipse(QRectF((size.width() - d) / 2, (size.height() - d) / 2, d, d));
    }
    // A box blur of a third of the radius, three times over, spreads about as far as the radius.
    boxBlur(glow_, qRound(kGlowBlurRadius * pixelScale / 3));
    glowSize_ = size;
    glowScale_ = pixelScale;
    glowTint_ = phase_.tint;
}

void MoonPhaseView::paint(QPainter* painter) {
    const QSizeF size(width(), height());
    if (size.isEmpty()) return;
    const qreal pixelScale = renderScale() * (window() ? window()->effectiveDevicePixelRatio() : 1.0);
    if (size != glowSize_ || !qFuzzyCompare(pixelScale, glowScale_) || phase_.tint != glowTint_)
        renderGlow(size, pixelScale);
    painter->drawImage(QRectF(QPointF(), size), glow_);
    drawMoon(*painter, size, phase_);
}
