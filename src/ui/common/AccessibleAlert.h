#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QQuickItem>

// Has a message that changed while on show announced again. Qt 6.4's accessibility bridge sends nothing for
// an alert event nor a live region: a screen reader hears an alert when it starts showing, so that is what
// is said of it again.
class AccessibleAlert : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
  public:
    using QObject::QObject;
    Q_INVOKABLE void raise(QQuickItem* alert) const;
};
