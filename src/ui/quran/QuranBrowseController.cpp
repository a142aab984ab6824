#include "ui/quran/QuranBrowseController.h"

#include "services/AppSettings.h"
#include "ui/quran/QuranBrowseFilter.h"

QuranBrowseController::QuranBrowseController(QObject* parent) : QObject(parent) {
    setLibrary(&QuranLibrary::shared());
}

void QuranBrowseController::setSettings(AppSettings* settings) {
    if (settings == settings_) return;
    if (settings_) disconnect(settings_, nullptr, this, nullptr);
    settings_ = settings;
    if (settings_) {
        connect(settings_, &AppSettings::quranBrowseTabChanged, this, &QuranBrowseController::tabChanged);
        connect(settings_, &AppSettings::quranBrowseTabChanged, this, &QuranBrowseController::rowsChanged);
    }
    emit settingsChanged();
    emit tabChanged();
    emit rowsChanged();
}

void QuranBrowseController::setLibrary(QuranLibrary* library) {
    if (library == library_) return;
    if (library_) disconnect(library_, nullptr, this, nullptr);
    library_ = library;
    if (library_) {
        connect(library_, &QuranLibrary::surahsChanged, this, &QuranBrowseController::rowsChanged);
        connect(library_, &QuranLibrary::parasChanged, this, &QuranBrowseController::rowsChanged);
    }
    emit rowsChanged();
}

void QuranBrowseController::setSearch(const QString& search) {
    if (search == search_) return;
    search_ = search;
    emit searchChanged();
    emit rowsChanged();
}

QString QuranBrowseController::tab() const {
    return settings_ ? settings_->quranBrowseTab() : QStringLiteral("para");
}

void QuranBrowseController::setTab(const QString& tab) {
    if (settings_) settings_->setQuranBrowseTab(tab);
}

QVariantList QuranBrowseController::rows() const {
    QVariantList list;
    if (libraryEmpty()) return list;
    if (showsParas()) {
        for (const QuranText::ParaMeta& p : QuranBrowseFilter::paras(library_->paras(), search_)) {
            const QString title = QStringLiteral("Para %1").arg(p.id);
            const QString start =
                QStringLiteral("Starts %1 %2:%3").arg(p.startSurahName).arg(p.startSurah).arg(p.startAyah);
            const QString count = p.ayahCount >= 1 ? QStringLiteral("%1 ayahs").arg(p.ayahCount) : QString();
            list.append(
                QVariantMap{{QStringLiteral("surah"), p.startSurah},
                            {QStringLiteral("ayah"), p.startAyah},
                            {QStringLiteral("number"), p.id},
                            {QStringLiteral("title"), title},
                            {QStringLiteral("subtitle"), start},
                            {QStringLiteral("detail"), QString()},
                            {QStringLiteral("trailing"), QString()},
                            {QStringLiteral("trailingDetail"), count},
                            {QStringLiteral("accessibleName"), title + QStringLiteral(", ") + start}});
        }
        return list;
    }
    for (const QuranText::SurahMeta& s : QuranBrowseFilter::surahs(library_->surahs(), search_)) {
        list.append(QVariantMap{
            {QStringLiteral("surah"), s.id},
            {QStringLiteral("ayah"), 1},
            {QStringLiteral("number"), s.id},
            {QStringLiteral("title"), s.englishName},
            {QStringLiteral("subtitle"), s.name},
            {QStringLiteral("detail"), s.englishNameTranslation},
            {QStringLiteral("trailing"), QString::number(s.numberOfAyahs)},
            {QStringLiteral("trailingDetail"), s.revelationType},
            {QStringLiteral("accessibleName"),
             QStringLiteral("Surah %1, %2, %3 ayahs").arg(s.id).arg(s.englishName).arg(s.numberOfAyahs)}});
    }
    return list;
}
