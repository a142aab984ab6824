#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>

// Whether the user is working the windows with the keyboard or with a pointer, as the desktop decides
// where to draw focus rings: a key pressed turns them on, a click or a touch turns them off. Only input
// that reaches a window counts, not the key presses the views send to their controls themselves.
class InputMode : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool keyboard READ keyboard NOTIFY keyboardChanged)

  public:
    explicit InputMode(QObject* parent = nullptr);

    // Until a pointer is used a window is taken as worked from the keyboard, so what the view focuses on
    // its own shows where the keys will go.
    bool keyboard() const { return keyboard_; }

  signals:
    void keyboardChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool keyboard_ = true;
};
