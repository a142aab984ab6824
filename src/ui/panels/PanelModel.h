#pragma once

#include "model/ClockBundle.h"

#include <QtQml/qqmlregistration.h>
#include <QLocale>
#include <QObject>
#include <QVariant>

// What every panel's helper starts from: its own copy of the clock bundle and the user's units. The
// bundle arrives as a QVariant holding a ClockBundle, or as its JSON object; anything else, or JSON that
// is no bundle, leaves an empty bundle so the panel shows its calm, empty state.
class PanelModel : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QVariant bundle READ bundleValue WRITE setBundleValue NOTIFY changed)
    Q_PROPERTY(bool metric READ metric WRITE setMetric NOTIFY changed)
    // Language of weekday and month names; empty: the bundle's language.
    Q_PROPERTY(QString localeName READ localeName WRITE setLocaleName NOTIFY changed)
    Q_PROPERTY(bool hasBundle READ hasBundle NOTIFY changed)

  public:
    explicit PanelModel(QObject* parent = nullptr);

    QVariant bundleValue() const { return value_; }
    void setBundleValue(const QVariant& value);
    void setBundle(const ClockBundle& bundle);
    const ClockBundle& bundle() const { return bundle_; }
    bool hasBundle() const { return hasBundle_; }
    bool metric() const { return metric_; }
    void setMetric(bool metric);
    const QString& localeName() const { return localeName_; }
    void setLocaleName(const QString& name);
    QLocale locale() const;

    static std::optional<ClockBundle> bundleFrom(const QVariant& value);

  signals:
    void changed();

  protected:
    // Recomputes the derived texts; called before `changed` is emitted.
    virtual void refresh() {}

  private:
    void publish();

    QVariant value_;
    ClockBundle bundle_;
    bool hasBundle_ = false;
    bool metric_ = true;
    QString localeName_;
};
