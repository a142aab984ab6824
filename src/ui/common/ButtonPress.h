#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QQuickItem>

// The one way a screen reader's press or toggle reaches a control: the way the Space key does, so the
// control runs its own click (a switch or a radio button checks itself, a tab is chosen, `toggled` and
// `clicked` are emitted) and the view's handlers write what a click writes. Qt Quick Controls 6.4 answer an
// accessible press of a button with nothing and an accessible toggle by setting `checked` behind the
// control's back, so every control's `Accessible.onPressAction` (and `onToggleAction`) comes here.
class ButtonPress : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

  public:
    using QObject::QObject;

    // Clicks `control` as Space does; a control that is disabled or not shown, which no click reaches,
    // is left alone.
    Q_INVOKABLE void click(QQuickItem* control) const;
};
