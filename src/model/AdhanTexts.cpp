#include "model/AdhanTexts.h"

#include <QStringList>
#include <initializer_list>

namespace {

using Lines = std::initializer_list<const char16_t*>;

QString joined(Lines lines) {
    QStringList list;
    for (const char16_t* line : lines) list << QString::fromUtf16(line);
    return list.join(QLatin1Char('\n'));
}

// The call is the same in every language up to the pair of lines after "come to success"; the dawn call adds
// the two dawn-only lines there. Each table is written as opening, dawn lines and closing so the two texts
// of a language cannot drift apart.
AdhanTexts::Table makeTable(const char16_t* fajrTitle, const char16_t* regularTitle, Lines opening,
                            Lines dawn, Lines closing) {
    const QString head = joined(opening);
    const QString tail = joined(closing);
    return AdhanTexts::Table{
        QString::fromUtf16(fajrTitle),
        QString::fromUtf16(regularTitle),
        head + QLatin1Char('\n') + joined(dawn) + QLatin1Char('\n') + tail,
        head + QLatin1Char('\n') + tail,
    };
}

const AdhanTexts::Table& arabic() {
    static const AdhanTexts::Table t = makeTable(u"أذان الفجر", u"الأذان",
                                                 {
                                                     u"اللهُ أَكْبَرُ، اللهُ أَكْبَرُ",
                                                     u"اللهُ أَكْبَرُ، اللهُ أَكْبَرُ",
                                                     u"أَشْهَدُ أَنْ لَا إِلٰهَ إِلَّا اللهُ",
                                                     u"أَشْهَدُ أَنْ لَا إِلٰهَ إِلَّا اللهُ",
                                                     u"أَشْهَدُ أَنَّ مُحَمَّدًا رَسُولُ اللهِ",
                                                     u"أَشْهَدُ أَنَّ مُحَمَّدًا رَسُولُ اللهِ",
                                                     u"حَيَّ عَلَى الصَّلَاةِ",
                                                     u"حَيَّ عَلَى الصَّلَاةِ",
                                                     u"حَيَّ عَلَى الْفَلَاحِ",
                                                     u"حَيَّ عَلَى الْفَلَاحِ",
                                                 },
                                                 {
                                                     u"الصَّلَاةُ خَيْرٌ مِنَ النَّوْمِ",
                                                     u"الصَّلَاةُ خَيْرٌ مِنَ النَّوْمِ",
                                                 },
                                                 {
                                                     u"اللهُ أَكْبَرُ، اللهُ أَكْبَرُ",
                                                     u"لَا إِلٰهَ إِلَّا اللهُ",
                                                 });
    return t;
}

const AdhanTexts::Table& urdu() {
    static const AdhanTexts::Table t = makeTable(u"اذانِ فجر", u"اذان",
                                                 {
                                                     u"اللہ اکبر، اللہ اکبر",
                                                     u"اللہ اکبر، اللہ اکبر",
                                                     u"اشہد ان لا الٰہ الا اللہ",
                                                     u"اشہد ان لا الٰہ الا اللہ",
                                                     u"اشہد ان محمداً رسول اللہ",
                                                     u"اشہد ان محمداً رسول اللہ",
                                                     u"حی علی الصلوٰۃ",
                                                     u"حی علی الصلوٰۃ",
                                                     u"حی علی الفلاح",
                                                     u"حی علی الفلاح",
                                                 },
                                                 {
                                                     u"الصلوٰۃ خیر من النوم (نماز نیند سے بہتر ہے)",
                                                     u"الصلوٰۃ خیر من النوم (نماز نیند سے بہتر ہے)",
                                                 },
                                                 {
                                                     u"اللہ اکبر، اللہ اکبر",
                                                     u"لا الٰہ الا اللہ",
                                                 });
    return t;
}

const AdhanTexts::Table& french() {
    static const AdhanTexts::Table t =
        makeTable(u"Adhan du Fajr", u"Adhan",
                  {
                      u"Allahu Akbar, Allahu Akbar (Dieu est le plus grand)",
                      u"Allahu Akbar, Allahu Akbar",
                      u"Ashhadu an la ilaha illa Allah (J'atteste qu'il n'y a de divinité que Dieu)",
                      u"Ashhadu an la ilaha illa Allah",
                      u"Ashhadu anna Muhammadan rasul Allah (J'atteste que Muhammad est le messager de Dieu)",
                      u"Ashhadu anna Muhammadan rasul Allah",
                      u"Hayya 'ala as-salah (Venez à la prière)",
                      u"Hayya 'ala as-salah",
                      u"Hayya 'ala al-falah (Venez au succès)",
                      u"Hayya 'ala al-falah",
                  },
                  {
                      u"As-salatu khayrun min an-nawm (La prière est meilleure que le sommeil)",
                      u"As-salatu khayrun min an-nawm",
                  },
                  {
                      u"Allahu Akbar, Allahu Akbar",
                      u"La ilaha illa Allah (Il n'y a de divinité que Dieu)",
                  });
    return t;
}

const AdhanTexts::Table& english() {
    static const AdhanTexts::Table t = makeTable(
        u"Fajr Adhan", u"Adhan",
        {
            u"Allahu Akbar, Allahu Akbar (God is the Greatest)",
            u"Allahu Akbar, Allahu Akbar",
            u"Ashhadu an la ilaha illa Allah (I bear witness that there is no god but God)",
            u"Ashhadu an la ilaha illa Allah",
            u"Ashhadu anna Muhammadan rasul Allah (I bear witness that Muhammad is the Messenger of God)",
            u"Ashhadu anna Muhammadan rasul Allah",
            u"Hayya 'ala as-salah (Come to prayer)",
            u"Hayya 'ala as-salah",
            u"Hayya 'ala al-falah (Come to success)",
            u"Hayya 'ala al-falah",
        },
        {
            u"As-salatu khayrun min an-nawm (Prayer is better than sleep)",
            u"As-salatu khayrun min an-nawm",
        },
        {
            u"Allahu Akbar, Allahu Akbar",
            u"La ilaha illa Allah (There is no god but God)",
        });
    return t;
}

// Marks written over or under Arabic letters (vowels, shadda, sukun, dagger alif, Quranic annotation) and the
// elongation stroke: none of them changes which word is written.
bool isArabicMark(char16_t c) {
    return (c >= 0x0610 && c <= 0x061A) || (c >= 0x064B && c <= 0x065F) || c == 0x0640 || c == 0x0670 ||
           (c >= 0x06D6 && c <= 0x06DC) || (c >= 0x06DF && c <= 0x06E8) || (c >= 0x06EA && c <= 0x06ED);
}

// "النوم": alif, lam, nun, waw, mim.
constexpr char16_t kNawm[] = {0x0627, 0x0644, 0x0646, 0x0648, 0x0645};

bool holdsArabicNawm(QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype start = 0; start < n; ++start) {
        if (text[start].unicode() != kNawm[0]) continue;
        std::size_t matched = 1;
        for (qsizetype i = start + 1; i < n && matched < std::size(kNawm); ++i) {
            const char16_t c = text[i].unicode();
            if (isArabicMark(c)) continue;
            if (c != kNawm[matched]) break;
            ++matched;
        }
        if (matched == std::size(kNawm)) return true;
    }
    return false;
}

}  // namespace

namespace AdhanTexts {

const Table& table(QStringView lang) {
    const qsizetype dash = lang.indexOf(QLatin1Char('-'));
    const QStringView base = dash < 0 ? lang : lang.left(dash);
    if (base == u"ar") return arabic();
    if (base == u"ur") return urdu();
    if (base == u"fr") return french();
    return english();
}

QString resolvedBody(bool isFajr, QStringView lang, const QString& serverText) {
    const Table& own = table(lang);
    if (isFajr) return containsFajrExtra(own.fajr) ? own.fajr : arabic().fajr;
    if (!serverText.trimmed().isEmpty()) return serverText;
    return own.regular;
}

bool containsFajrExtra(QStringView text) {
    if (holdsArabicNawm(text)) return true;
    for (QLatin1StringView word :
         {QLatin1StringView("khayrun"), QLatin1StringView("an-nawm"), QLatin1StringView("as-salatu")}) {
        if (text.contains(word, Qt::CaseInsensitive)) return true;
    }
    return false;
}

}  // namespace AdhanTexts
