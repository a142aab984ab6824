#pragma once

#include "ui/common/ScaledPaintedItem.h"

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QImage>
#include <QRadialGradient>
#include <QTimer>

// The live sun picture: the cached copy at once, a refreshed one when the cache goes stale, painted to fill
// the item (inside a circle when asked). Once a picture shows, it is only ever replaced by a newer one.
// Behind a closed window the loop waits, and the pass that fell due runs as the window shows again.
class NasaSunImageView : public ScaledPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    // Empty: the observatory's default picture.
    Q_PROPERTY(QString imageURL READ imageURL WRITE setImageURL NOTIFY imageURLChanged)
    Q_PROPERTY(bool circular READ circular WRITE setCircular NOTIFY circularChanged)
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    // Seconds until the next pass of the refresh loop, once a pass has ended.
    Q_PROPERTY(double nextPassSeconds READ nextPassSeconds NOTIFY passFinished)
    Q_PROPERTY(int passes READ passes NOTIFY passFinished)

  public:
    enum class Phase { Ready, Loading, Failed };
    Q_ENUM(Phase)

    explicit NasaSunImageView(QQuickItem* parent = nullptr);

    const QString& imageURL() const { return imageURL_; }
    void setImageURL(const QString& url);
    bool circular() const { return circular_; }
    void setCircular(bool circular);
    Phase phase() const { return phase_; }
    double nextPassSeconds() const { return nextPassSeconds_; }
    int passes() const { return passes_; }
    const QImage& image() const { return image_; }

    // The loop's sleep after a pass: the time until the copy goes stale, within a minute and an hour.
    static double sleepSeconds(double untilStale);
    // The drawn sun of the failed state: orange at the centre, red at 0.7 opacity at the rim of a circle
    // as wide as the whole side.
    static inline const QColor failedInner{255, 149, 0};
    static inline const QColor failedOuter{255, 59, 48, 179};
    static QRadialGradient failedGlow(const QRectF& box);

    void paint(QPainter* painter) override;
    // Starts the refresh loop; public so views made outside QML can be started too.
    void componentComplete() override;

  signals:
    void imageURLChanged();
    void circularChanged();
    void phaseChanged();
    void passFinished();

  protected:
    void itemChange(ItemChange change, const ItemChangeData& value) override;

  private slots:
    // The loop's sleep has ended: a pass now, or as soon as the window shows.
    void passDue();

  private:
    bool shown() const;
    void restart();
    void runPass();
    void setReady(QImage image);
    void setPhase(Phase phase);

    QString imageURL_;
    bool circular_ = false;
    Phase phase_ = Phase::Loading;
    QImage image_;
    QTimer sleep_;
    quint64 generation_ = 0;
    bool passWaiting_ = false;
    QMetaObject::Connection windowShown_;
    double nextPassSeconds_ = 0;
    int passes_ = 0;
};
