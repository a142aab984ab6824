#pragma once

#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <QImage>
#include <QPointer>
#include <QQuickItem>
#include <QTimer>
#include <QUrl>
#include <array>
#include <cstdint>

class DialPiece;

// The analog dial of the place's civil time: bezel, ring, face, minute ticks, hour dots, a day window at
// three o'clock, a logo above the centre and three continuously moving hands. The dial is built of
// separately drawn pieces: the face (everything that only depends on the size and the logo) and the day
// are drawn once and kept as textures; a frame only turns the three hand pieces, a cheap transform.
class AnalogClockView : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double tzOffsetHours READ tzOffsetHours WRITE setTzOffsetHours NOTIFY tzOffsetHoursChanged)
    Q_PROPERTY(QUrl logoUrl READ logoUrl WRITE setLogoUrl NOTIFY logoUrlChanged)
    // False stops the frame timer (the picture stays at the last frame); tests and hidden windows use it.
    Q_PROPERTY(bool running READ running WRITE setRunning NOTIFY runningChanged)
    Q_PROPERTY(QString dayText READ dayText NOTIFY dayTextChanged)

  public:
    struct HandComps {
        double h = 0;  // [0, 12)
        double m = 0;  // [0, 60)
        double s = 0;  // [0, 60)
    };
    // Hour, minute and second of an instant at the place, each carrying the fractions of the smaller ones,
    // so the hands sweep rather than tick.
    static HandComps handComps(std::int64_t utcMs, double tzOffsetHours);
    // Day of the month shown in the window, at the place.
    static int dayOfMonth(std::int64_t utcMs, double tzOffsetHours);

    explicit AnalogClockView(QQuickItem* parent = nullptr);
    ~AnalogClockView() override;

    double tzOffsetHours() const { return tzOffsetHours_; }
    void setTzOffsetHours(double hours);
    QUrl logoUrl() const { return logoUrl_; }
    void setLogoUrl(const QUrl& url);
    bool running() const { return running_; }
    void setRunning(bool running);
    QString dayText() const { return dayText_; }

  signals:
    void tzOffsetHoursChanged();
    void logoUrlChanged();
    void runningChanged();
    void dayTextChanged();

  protected:
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

  private:
    enum class LogoState { Symbol, Image, Loading, Failed };

    void updateFrameTimer();
    void startLogo();
    QCoro::Task<> loadRemoteLogo(QUrl url, quint64 generation);
    void setLogoImage(LogoState state, const QImage& image);
    void layoutPieces();
    void tick();
    int frameIntervalMs() const;
    void drawFace(QPainter* painter) const;
    void drawDay(QPainter* painter) const;
    void drawHand(QPainter* painter, int hand) const;
    void drawHub(QPainter* painter) const;
    qreal side() const;

    double tzOffsetHours_ = 0;
    QUrl logoUrl_;
    bool running_ = true;
    QString dayText_;
    int lastDay_ = 0;

    LogoState logoState_ = LogoState::Symbol;
    QImage logoImage_;
    quint64 logoGeneration_ = 0;

    DialPiece* face_ = nullptr;  // bezel, ring, face, markers, logo and the day window's frame
    DialPiece* day_ = nullptr;   // the day and the window's glass
    std::array<DialPiece*, 3> hands_{};
    DialPiece* hub_ = nullptr;

    QTimer frameTimer_;
    QPointer<QQuickWindow> watchedWindow_;
};
