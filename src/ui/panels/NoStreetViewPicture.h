#pragma once

#include "ui/common/ScaledPaintedItem.h"

#include <QtQml/qqmlregistration.h>
#include <QImage>

// The picture shown where a place has no street-level photograph: the stored copy (or the built-in one)
// at once, then whatever is stored after checking with the server. Painted to fill the item, and held at
// the size it is drawn rather than as decoded.
class NoStreetViewPicture : public ScaledPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    // The place; a new place loads the picture again.
    Q_PROPERTY(QString locationKey READ locationKey WRITE setLocationKey NOTIFY locationKeyChanged)
    Q_PROPERTY(bool hasImage READ hasImage NOTIFY imageChanged)

  public:
    explicit NoStreetViewPicture(QQuickItem* parent = nullptr);

    const QString& locationKey() const { return locationKey_; }
    void setLocationKey(const QString& key);
    bool hasImage() const { return !image_.isNull(); }

    void paint(QPainter* painter) override;

  signals:
    void locationKeyChanged();
    void imageChanged();

  private:
    void load();
    void keep(QImage image);
    void fitToTexture();

    QString locationKey_;
    QImage image_;
    // The decoded size, larger than image_ when it was scaled down to the drawing.
    QSize decodedSize_;
    quint64 generation_ = 0;
};
