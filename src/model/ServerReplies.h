#pragma once

#include "model/JsonCoding.h"

// Places as the own server and the maps client hand them over: the saved home address of a clock, one
// address suggestion while the user types, and a suggestion resolved to a position.

struct ClockAddressInfo {
    bool found = false;
    std::optional<QString> clockId;
    std::optional<QString> address;
    std::optional<double> lat;
    std::optional<double> lon;
    std::optional<double> tzOffsetHours;
    std::optional<QString> city;
    std::optional<QString> country;
    std::optional<QString> placeId;
    std::optional<QString> updatedAt;

    static std::optional<ClockAddressInfo> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct AddressSuggestion {
    QString label;
    std::optional<QString> placeId;
    std::optional<double> lat;
    std::optional<double> lon;

    QString id() const;

    static std::optional<AddressSuggestion> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct PlaceResult {
    bool found = false;
    std::optional<double> lat;
    std::optional<double> lon;
    std::optional<QString> name;
    std::optional<QString> locality;
    std::optional<QString> address;

    static std::optional<PlaceResult> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};
