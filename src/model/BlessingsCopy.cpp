#include "model/BlessingsCopy.h"

using namespace Qt::Literals::StringLiterals;

namespace BlessingsCopy {

BlessingsCard fiSabilillah() {
    BlessingsCard card;
    card.id = fiSabilillahId;
    card.arabic = u"في سبيل الله"_s;
    card.transliteration = u"Fi sabilillah"_s;
    card.english = u"In the way of Allah"_s;
    card.authorDuaArabic = u"اللهم تقبّل منّا واجعل هذا العمل خالصاً لوجهك"_s;
    card.authorDuaEnglish = u"O Allah, accept this from us and make this work sincerely for Your sake"_s;
    return card;
}

namespace {

QString oneLine(const std::optional<QString>& text) {
    return text ? text->simplified() : QString();
}

QString pick(const std::optional<QString>& preferred, const std::optional<QString>& fallback) {
    const QString line = oneLine(preferred);
    return line.isEmpty() ? oneLine(fallback) : line;
}

}  // namespace

QString creditLine(const std::optional<BlessingsCard>& card) {
    const BlessingsCard builtIn = fiSabilillah();
    const QString arabic = pick(card ? card->arabic : std::nullopt, builtIn.arabic);
    const QString dua = pick(card ? card->authorDuaEnglish : std::nullopt, builtIn.authorDuaEnglish);
    return arabic + u" · "_s + dua;
}

QString alertsLine(const BlessingsCard& card) {
    QString arabic = oneLine(card.arabic);
    if (arabic.isEmpty()) arabic = u"في سبيل الله"_s;
    QString dua = oneLine(card.authorDuaEnglish);
    if (dua.isEmpty()) dua = u"May Allah reward the author"_s;
    return u"\u200E"_s + arabic + u" · "_s + dua;
}

}  // namespace BlessingsCopy
