#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QQuickItem>

class QAccessibleEvent;

// Has an alert's message announced once as it appears and once each time it changes. Qt 6.4's accessibility
// bridge sends nothing for an alert event nor a live region: a screen reader hears an alert when it starts
// showing, so that is what is said of it. Qt also reports it showing as its view is rebuilt around it, or
// twice as it appears; what was said stays said until the alert hides.
class AccessibleAlert : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
  public:
    using QObject::QObject;
    // Says the alert's message, unless it was said already while it showed.
    Q_INVOKABLE void raise(QQuickItem* alert) const;
    // Whether an event goes on to assistive technology: false only for an alert starting to show with the
    // message it last said.
    static bool passes(QAccessibleEvent* event);
};
