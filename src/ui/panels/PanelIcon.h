#pragma once

#include "ui/common/ScaledPaintedItem.h"

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QImage>

class QSvgRenderer;

// A tinted symbol of the panels: the panels' own drawings (weather, shields, compass) and every symbol the
// common set already has.
class PanelIcon : public ScaledPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY sizeChanged)
    Q_PROPERTY(bool known READ known NOTIFY nameChanged)

  public:
    explicit PanelIcon(QQuickItem* parent = nullptr);

    const QString& name() const { return name_; }
    void setName(const QString& name);
    const QColor& color() const { return color_; }
    void setColor(const QColor& color);
    qreal size() const { return size_; }
    void setSize(qreal size);
    bool known() const { return renderer_ != nullptr; }

    // The drawing that stands for a symbol name, or empty.
    static QString resourceFor(const QString& name);

    void paint(QPainter* painter) override;

  signals:
    void nameChanged();
    void colorChanged();
    void sizeChanged();

  private:
    QString name_;
    QColor color_ = Qt::white;
    qreal size_ = 16;
    QSvgRenderer* renderer_ = nullptr;
    QImage tinted_;
};
