#pragma once

#include "model/JsonCoding.h"

// Credits of a bundle: who produced it and where its weather, alerts, prayer times and moon came from.

struct SourceNetwork {
    QString code;
    QString nickname;
    QString continent;

    static std::optional<SourceNetwork> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct SourceItem {
    QString provider;
    QString nickname;
    bool active = false;

    static std::optional<SourceItem> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Sources {
    SourceNetwork network;
    SourceItem weather;
    SourceItem alerts;
    SourceItem prayer;
    std::optional<SourceItem> moon;

    static std::optional<Sources> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};
