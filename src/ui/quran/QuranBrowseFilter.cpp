#include "ui/quran/QuranBrowseFilter.h"

namespace QuranBrowseFilter {

namespace {
QString query(const QString& search) {
    return search.trimmed().toLower();
}
}  // namespace

QList<QuranText::SurahMeta> surahs(const QList<QuranText::SurahMeta>& all, const QString& search) {
    const QString q = query(search);
    if (q.isEmpty()) return all;
    QList<QuranText::SurahMeta> kept;
    for (const QuranText::SurahMeta& s : all) {
        // The Arabic name is matched against the text as typed: Arabic has no case to fold.
        if (QString::number(s.id).contains(q) || s.englishName.toLower().contains(q) ||
            s.englishNameTranslation.toLower().contains(q) || s.name.contains(search) ||
            s.revelationType.toLower().contains(q))
            kept.append(s);
    }
    return kept;
}

QList<QuranText::ParaMeta> paras(const QList<QuranText::ParaMeta>& all, const QString& search) {
    const QString q = query(search);
    if (q.isEmpty()) return all;
    QList<QuranText::ParaMeta> kept;
    for (const QuranText::ParaMeta& p : all) {
        const QString id = QString::number(p.id);
        const QString start = QString::number(p.startSurah) + QLatin1Char(':') + QString::number(p.startAyah);
        if (id.contains(q) || (QStringLiteral("para ") + id).contains(q) ||
            (QStringLiteral("juz ") + id).contains(q) || p.startSurahName.toLower().contains(q) ||
            start.contains(q))
            kept.append(p);
    }
    return kept;
}

}  // namespace QuranBrowseFilter
