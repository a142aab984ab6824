#include "PanelModel.h"

#include <QJSValue>
#include <QJsonObject>
#include <QJsonValue>

PanelModel::PanelModel(QObject* parent) : QObject(parent) {}

std::optional<ClockBundle> PanelModel::bundleFrom(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<ClockBundle>()) return value.value<ClockBundle>();
    if (value.metaType() == QMetaType::fromType<QJsonObject>())
        return ClockBundle::fromJson(value.toJsonObject());
    if (value.metaType() == QMetaType::fromType<QJSValue>())
        return bundleFrom(value.value<QJSValue>().toVariant());
    if (value.metaType() == QMetaType::fromType<QVariantMap>())
        return ClockBundle::fromJson(QJsonObject::fromVariantMap(value.toMap()));
    return std::nullopt;
}

void PanelModel::setBundleValue(const QVariant& value) {
    value_ = value;
    const auto decoded = bundleFrom(value);
    bundle_ = decoded.value_or(ClockBundle{});
    hasBundle_ = decoded.has_value();
    publish();
}

void PanelModel::setBundle(const ClockBundle& bundle) {
    setBundleValue(QVariant::fromValue(bundle));
}

void PanelModel::setMetric(bool metric) {
    if (metric == metric_) return;
    metric_ = metric;
    publish();
}

void PanelModel::setLocaleName(const QString& name) {
    if (name == localeName_) return;
    localeName_ = name;
    publish();
}

QLocale PanelModel::locale() const {
    const QString name = localeName_.isEmpty() ? bundle_.lang : localeName_;
    return name.isEmpty() ? QLocale() : QLocale(name);
}

void PanelModel::publish() {
    refresh();
    emit changed();
}
