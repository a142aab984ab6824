#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <cstdint>

// Where a marquee's text stands: whether it scrolls and its horizontal offset, computed from the time
// elapsed since the strip was created, so a dropped frame never slows the text down.
class MarqueeMotion : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double textWidth READ textWidth WRITE setTextWidth NOTIFY inputsChanged)
    Q_PROPERTY(double containerWidth READ containerWidth WRITE setContainerWidth NOTIFY inputsChanged)
    Q_PROPERTY(bool forceScroll READ forceScroll WRITE setForceScroll NOTIFY inputsChanged)
    Q_PROPERTY(double speed READ speed WRITE setSpeed NOTIFY inputsChanged)
    Q_PROPERTY(double gap READ gap WRITE setGap NOTIFY inputsChanged)
    Q_PROPERTY(bool scrolls READ scrolls NOTIFY inputsChanged)
    Q_PROPERTY(double offset READ offset NOTIFY offsetChanged)

  public:
    // The 1-point margins keep a text that just fits, and an unmeasured strip or text, still.
    static bool scrolls(double textWidth, double containerWidth, bool forceScroll);
    // Leading edge of the first copy after `elapsedSeconds`: 0 down towards -cycle, then back to 0.
    static double offsetAt(double elapsedSeconds, double speed, double cycle);

    explicit MarqueeMotion(QObject* parent = nullptr);

    double textWidth() const { return textWidth_; }
    void setTextWidth(double width);
    double containerWidth() const { return containerWidth_; }
    void setContainerWidth(double width);
    bool forceScroll() const { return forceScroll_; }
    void setForceScroll(bool force);
    double speed() const { return speed_; }
    void setSpeed(double speed);
    double gap() const { return gap_; }
    void setGap(double gap);
    bool scrolls() const { return scrolls(textWidth_, containerWidth_, forceScroll_); }
    double offset() const { return offset_; }

    // Recomputes the offset for the current instant; the view calls it once per frame while scrolling.
    Q_INVOKABLE void advance();

  signals:
    void inputsChanged();
    void offsetChanged();

  private:
    void setInput(double& field, double value);

    double textWidth_ = 0;
    double containerWidth_ = 0;
    bool forceScroll_ = false;
    double speed_ = 55;
    double gap_ = 60;
    double offset_ = 0;
    std::int64_t startMs_;
};
