#pragma once

#include "model/JsonCoding.h"

// Devotional cards shown before the learn-the-call video, and their configuration from the own server.

struct BlessingsCard {
    QString id;
    std::optional<QString> arabic;
    std::optional<QString> transliteration;
    std::optional<QString> english;
    std::optional<QString> authorDuaArabic;
    std::optional<QString> authorDuaEnglish;

    friend bool operator==(const BlessingsCard&, const BlessingsCard&) = default;

    static std::optional<BlessingsCard> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct BlessingsConfig {
    qint64 version = 1;
    std::optional<QString> updatedAt;
    bool appEnabled = true;
    bool websiteEnabled = true;
    QList<BlessingsCard> cards;

    friend bool operator==(const BlessingsConfig&, const BlessingsConfig&) = default;

    // The configuration shipped with the program, used until the server has sent one.
    static const BlessingsConfig& defaults();

    // The splash shows at most the three known cards, always in the same order, whatever the server's
    // order; other cards are kept (and written back) but never shown.
    QList<BlessingsCard> orderedCards() const;
    // The first card with exactly this id.
    std::optional<BlessingsCard> card(const QString& id) const;

    // Lenient where older servers differ (version as text, absent switches), strict otherwise.
    static std::optional<BlessingsConfig> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};
