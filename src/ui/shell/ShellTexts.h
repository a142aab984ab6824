#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>

// The shell's texts for the views: the blessings credit line and the built-in learn-the-call link.
class ShellTexts : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString learnAdhanBuiltInURL READ learnAdhanBuiltInURL CONSTANT)
  public:
    using QObject::QObject;

    static QString learnAdhanBuiltInURL();
    // The credit from the "fi_sabilillah" card of the configuration in force, else the built-in card.
    Q_INVOKABLE static QString blessingsCredit();
};
