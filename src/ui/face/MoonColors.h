#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QObject>
#include <QString>

// The colour of each month's full-moon name; the moon drawing washes the lit part and its glow with it.
class MoonColors : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

  public:
    using QObject::QObject;
    // Keys compare exactly; an empty, absent or unknown key gives warm white.
    Q_INVOKABLE static QColor tint(const QString& key);
};
