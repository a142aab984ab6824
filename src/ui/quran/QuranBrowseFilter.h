#pragma once

#include "services/QuranText.h"

#include <QList>
#include <QString>

// The browse sheet's search over the surah and para tables: plain substring tests on the trimmed,
// lower-cased query, keeping the library's order; an empty query keeps everything.
namespace QuranBrowseFilter {

QList<QuranText::SurahMeta> surahs(const QList<QuranText::SurahMeta>& all, const QString& search);
QList<QuranText::ParaMeta> paras(const QList<QuranText::ParaMeta>& all, const QString& search);

}  // namespace QuranBrowseFilter
