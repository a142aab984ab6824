#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

// The fixed rows of the settings window's pickers (each a {text, value} map) and the lines that follow a
// setting's value. Values are compared exactly, so a stored value outside a list selects no row.
class SettingsChoices : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QVariantList languages READ languages CONSTANT)
    Q_PROPERTY(QVariantList units READ units CONSTANT)
    Q_PROPERTY(QVariantList clockFormats READ clockFormats CONSTANT)
    Q_PROPERTY(QVariantList asrRules READ asrRules CONSTANT)
    Q_PROPERTY(QVariantList playLengths READ playLengths CONSTANT)
    Q_PROPERTY(QVariantList notifyModes READ notifyModes CONSTANT)
    Q_PROPERTY(QVariantList alertScopes READ alertScopes CONSTANT)
    Q_PROPERTY(QVariantList intervals READ intervals CONSTANT)
    Q_PROPERTY(QVariantList weatherModes READ weatherModes CONSTANT)
    Q_PROPERTY(QVariantList weatherProviders READ weatherProviders CONSTANT)
    Q_PROPERTY(QVariantList quranTextSizes READ quranTextSizes CONSTANT)
    Q_PROPERTY(QVariantList quranTranslations READ quranTranslations CONSTANT)
    Q_PROPERTY(QString serverBaseURL READ serverBaseURL CONSTANT)
    Q_PROPERTY(QString privacyURL READ privacyURL CONSTANT)
    Q_PROPERTY(QString serviceNotice READ serviceNotice CONSTANT)
    Q_PROPERTY(QString forecastPrompt READ forecastPrompt CONSTANT)
  public:
    using QObject::QObject;

    static QVariantList languages();
    static QVariantList units();
    static QVariantList clockFormats();
    static QVariantList asrRules();
    static QVariantList playLengths();
    static QVariantList notifyModes();
    static QVariantList alertScopes();
    static QVariantList intervals();
    static QVariantList weatherModes();
    static QVariantList weatherProviders();
    static QVariantList quranTextSizes();
    static QVariantList quranTranslations();
    // The seven calculation methods in the order the window offers them.
    static QVariantList methods();

    static QString serverBaseURL();
    static QString privacyURL();
    static QString serviceNotice();
    static QString forecastPrompt();
    Q_INVOKABLE static QString developersURL(const QString& path);

    // The row whose value equals `value` exactly (type and case), else -1.
    Q_INVOKABLE static int indexOf(const QVariantList& rows, const QVariant& value);

    Q_INVOKABLE static QString alertsScopeHelp(const QString& scope);
    Q_INVOKABLE static QString weatherSourceHelp(const QString& mode);
    Q_INVOKABLE static QString notificationStatusText(int status);
};
