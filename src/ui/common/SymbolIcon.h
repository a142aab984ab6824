#pragma once

#include "ScaledPaintedItem.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <span>

class QSvgRenderer;

// One of the bundled symbol drawings by its system symbol name ("moon.stars.fill", "gearshape.fill", ...),
// tinted with one colour. An unknown name draws nothing.
class SymbolIcon : public ScaledPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY sizeChanged)
    Q_PROPERTY(bool known READ known NOTIFY nameChanged)

  public:
    explicit SymbolIcon(QQuickItem* parent = nullptr);
    ~SymbolIcon() override;

    QString name() const { return name_; }
    void setName(const QString& name);
    QColor color() const { return color_; }
    void setColor(const QColor& color);
    qreal size() const { return size_; }
    void setSize(qreal size);
    bool known() const { return renderer_ != nullptr; }

    // One drawing of a set: the system symbol name and the file stem of its SVG.
    struct Drawing {
        const char* name;
        const char* file;
    };
    // The resource path of a symbol's drawing, empty for names that have none.
    static QString resourceFor(const QString& name);
    // A feature's own drawing of the symbol from `own`, kept in the resource folder `folder`, else the
    // common set's.
    static QString resourceFor(const QString& name, std::span<const Drawing> own, QLatin1StringView folder);
    // Every symbol name that has a drawing.
    static QStringList knownNames();

    void paint(QPainter* painter) override;

  signals:
    void nameChanged();
    void colorChanged();
    void sizeChanged();

  protected:
    // Where a name's drawing lives; a feature with drawings of its own extends the common set here.
    virtual QString drawingFor(const QString& name) const { return resourceFor(name); }

  private:
    QString name_;
    QColor color_{Qt::white};
    qreal size_ = 17;
    QSvgRenderer* renderer_ = nullptr;
    QImage tinted_;  // the drawing at its current pixel size and colour
    QColor tintedColor_;
};
