#include "model/BlessingsRecords.h"

#include "model/IntegerText.h"

#include <array>

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

std::optional<BlessingsCard> BlessingsCard::fromJson(const QJsonValue& value) {
    Reader r(value);
    BlessingsCard out;
    out.id = r.requiredString("id"_L1);
    out.arabic = r.optionalString("arabic"_L1);
    out.transliteration = r.optionalString("transliteration"_L1);
    out.english = r.optionalString("english"_L1);
    out.authorDuaArabic = r.optionalString("author_dua_arabic"_L1);
    out.authorDuaEnglish = r.optionalString("author_dua_english"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue BlessingsCard::toJson() const {
    Writer w;
    w.add("id"_L1, id);
    w.add("arabic"_L1, arabic);
    w.add("transliteration"_L1, transliteration);
    w.add("english"_L1, english);
    w.add("author_dua_arabic"_L1, authorDuaArabic);
    w.add("author_dua_english"_L1, authorDuaEnglish);
    return w.object();
}

std::optional<BlessingsConfig> BlessingsConfig::fromJson(const QJsonValue& value) {
    Reader r(value);
    if (!r.ok()) return std::nullopt;
    BlessingsConfig out;
    const QJsonValue version = r.object().value("version"_L1);
    if (version.isString()) {
        out.version = IntegerText::parse(version.toString()).value_or(1);
    } else if (!version.isUndefined() && !version.isNull()) {
        out.version = r.requiredInt("version"_L1);
    }
    out.updatedAt = r.optionalString("updated_at"_L1);
    out.appEnabled = r.optionalBool("app_enabled"_L1).value_or(true);
    out.websiteEnabled = r.optionalBool("website_enabled"_L1).value_or(true);
    out.cards = r.optionalArray<BlessingsCard>("cards"_L1).value_or(QList<BlessingsCard>{});
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue BlessingsConfig::toJson() const {
    Writer w;
    w.add("version"_L1, version);
    w.add("updated_at"_L1, updatedAt);
    w.add("app_enabled"_L1, appEnabled);
    w.add("website_enabled"_L1, websiteEnabled);
    w.add("cards"_L1, cards);
    return w.object();
}

const BlessingsConfig& BlessingsConfig::defaults() {
    static const BlessingsConfig config = [] {
        BlessingsConfig c;
        c.cards = {
            {u"alhamdulillah"_s, u"الحمد لله"_s, u"Alhamdulillah"_s, u"All praise is due to Allah"_s, {}, {}},
            {u"mashallah"_s, u"ما شاء الله"_s, u"Mashallah"_s, u"What Allah has willed"_s, {}, {}},
            {u"fi_sabilillah"_s, u"في سبيل الله"_s, u"Fi sabilillah"_s, u"For the sake of Allah"_s,
             u"جزاهم الله خيراً"_s, u"May Allah reward the author"_s},
        };
        return c;
    }();
    return config;
}

QList<BlessingsCard> BlessingsConfig::orderedCards() const {
    static const std::array<QLatin1StringView, 3> order = {"alhamdulillah"_L1, "mashallah"_L1,
                                                           "fi_sabilillah"_L1};
    QList<BlessingsCard> out;
    for (QLatin1StringView id : order)
        if (std::optional<BlessingsCard> c = card(QString(id))) out.append(std::move(*c));
    return out;
}

std::optional<BlessingsCard> BlessingsConfig::card(const QString& id) const {
    for (const BlessingsCard& c : cards)
        if (c.id == id) return c;
    return std::nullopt;
}
