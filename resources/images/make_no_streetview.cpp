// Draws resources/images/no_streetview.png, the picture the qibla panel shows where no street-level
// photograph exists: a dusk street in perspective under a quiet sky, with a struck-through camera in the
// middle. No text, so it suits every language. Build and run from the repository root:
//   g++ -std=c++20 -fPIC resources/images/make_no_streetview.cpp -o /tmp/make_no_streetview \
//       $(pkg-config --cflags --libs Qt6Gui) && QT_QPA_PLATFORM=offscreen /tmp/make_no_streetview
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int w = 600, h = 400;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const double horizon = h * 0.56;
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(0x0b, 0x13, 0x2b));
    sky.setColorAt(0.7, QColor(0x1c, 0x2a, 0x4a));
    sky.setColorAt(1.0, QColor(0x3a, 0x3f, 0x5c));
    p.fillRect(QRectF(0, 0, w, horizon), sky);

    QLinearGradient ground(0, horizon, 0, h);
    ground.setColorAt(0.0, QColor(0x22, 0x26, 0x33));
    ground.setColorAt(1.0, QColor(0x10, 0x12, 0x19));
    p.fillRect(QRectF(0, horizon, w, h - horizon), ground);

    // A low glow on the horizon.
    QRadialGradient glow(QPointF(w / 2.0, horizon), w * 0.55);
    glow.setColorAt(0.0, QColor(0xd9, 0xa4, 0x41, 70));
    glow.setColorAt(1.0, QColor(0xd9, 0xa4, 0x41, 0));
    p.fillRect(QRectF(0, 0, w, h), glow);

    // Building silhouettes along both sides.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x19, 0x2b));
    const double blocks[][3] = {{0, 70, 150},   {60, 50, 110},  {100, 60, 170}, {150, 40, 90},
                                {410, 50, 120}, {450, 60, 160}, {500, 40, 100}, {530, 70, 140}};
    for (const auto& b : blocks) p.drawRect(QRectF(b[0], horizon - b[2], b[1], b[2]));
    // A dome and minaret in the distance, the only landmark.
    p.drawRect(QRectF(w / 2.0 - 40, horizon - 20, 80, 20));
    p.drawChord(QRectF(w / 2.0 - 30, horizon - 50, 60, 60), 0, 180 * 16);
    p.drawRect(QRectF(w / 2.0 - 1.5, horizon - 60, 3, 12));
    p.drawRect(QRectF(w / 2.0 + 46, horizon - 86, 9, 86));
    p.drawEllipse(QRectF(w / 2.0 + 44, horizon - 94, 13, 14));

    // The road in perspective.
    QPainterPath road;
    road.moveTo(w / 2.0 - 14, horizon);
    road.lineTo(w / 2.0 + 14, horizon);
    road.lineTo(w * 0.86, h);
    road.lineTo(w * 0.14, h);
    road.closeSubpath();
    p.setBrush(QColor(0x2b, 0x30, 0x40));
    p.drawPath(road);
    p.setPen(QPen(QColor(0xd9, 0xa4, 0x41, 150), 3, Qt::DashLine, Qt::FlatCap));
    p.drawLine(QPointF(w / 2.0, horizon + 4), QPointF(w / 2.0, h));

    // The struck-through camera on a soft disc.
    const QPointF c(w / 2.0, h * 0.27);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0b, 0x13, 0x2b, 190));
    p.drawEllipse(c, 62, 62);
    const QColor ink(0xe8, 0xe4, 0xd8);
    p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c.x() - 34, c.y() - 20, 68, 44), 8, 8);
    p.drawRect(QRectF(c.x() - 12, c.y() - 29, 24, 9));
    p.drawEllipse(c + QPointF(0, 2), 12, 12);
    p.setPen(QPen(QColor(0x0b, 0x13, 0x2b), 11, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-40, -40), c + QPointF(40, 40));
    p.setPen(QPen(QColor(0xd9, 0xa4, 0x41), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-40, -40), c + QPointF(40, 40));
    p.end();

    return image.save(QStringLiteral("resources/images/no_streetview.png"), "PNG", 9) ? 0 : 1;
}
