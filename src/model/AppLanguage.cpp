#include "model/AppLanguage.h"

using namespace Qt::Literals::StringLiterals;

const QList<AppLanguage>& AppLanguage::all() {
    static const QList<AppLanguage> languages = {
        {u"en"_s, u"English"_s, u"English"_s},
        {u"ar"_s, u"العربية"_s, u"Arabic"_s},
        {u"ur"_s, u"اردو"_s, u"Urdu"_s},
        {u"fa"_s, u"فارسی"_s, u"Persian"_s},
        {u"tr"_s, u"Türkçe"_s, u"Turkish"_s},
        {u"ru"_s, u"Русский"_s, u"Russian"_s},
        {u"uk"_s, u"Українська"_s, u"Ukrainian"_s},
        {u"de"_s, u"Deutsch"_s, u"German"_s},
        {u"fr"_s, u"Français"_s, u"French"_s},
        {u"ja"_s, u"日本語"_s, u"Japanese"_s},
        {u"zh"_s, u"中文"_s, u"Chinese"_s},
        {u"hi"_s, u"हिन्दी"_s, u"Hindi"_s},
        {u"bn"_s, u"বাংলা"_s, u"Bengali"_s},
        {u"pl"_s, u"Polski"_s, u"Polish"_s},
        {u"id"_s, u"Bahasa Indonesia"_s, u"Indonesian"_s},
        {u"ms"_s, u"Bahasa Melayu"_s, u"Malay"_s},
        {u"es"_s, u"Español"_s, u"Spanish"_s},
    };
    return languages;
}

bool AppLanguage::isCode(const QString& code) {
    for (const AppLanguage& language : all())
        if (language.code == code) return true;
    return false;
}
