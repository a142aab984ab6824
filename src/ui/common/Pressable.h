#pragma once

#include <QtQml/qqmlregistration.h>
#include <QQuickItem>

// The behaviour of a button without its look, for buttons that sit on the clock face: Tab stops on it,
// Space (on release), Return and Enter press it, a click inside it presses it, and `visualFocus` tells
// focus that came from the keyboard apart from focus a click gave. The face carries no Qt Quick Controls,
// whose libraries would load with every clock for the sake of a few buttons.
class Pressable : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool down READ down NOTIFY downChanged)
    Q_PROPERTY(bool visualFocus READ visualFocus NOTIFY visualFocusChanged)

  public:
    explicit Pressable(QQuickItem* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    bool down() const { return down_; }
    bool visualFocus() const { return visualFocus_; }

  signals:
    void textChanged();
    void downChanged();
    void visualFocusChanged();
    void clicked();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseUngrabEvent() override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

  private:
    void setDown(bool down);
    void setVisualFocus(bool visual);

    QString text_;
    bool down_ = false;
    bool visualFocus_ = false;
    bool spaceHeld_ = false;
};
