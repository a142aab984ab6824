#pragma once

#include "services/AppSettings.h"
#include "services/QuranLibrary.h"

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QPointer>
#include <QVariantList>

// The browse sheet's lists: the para or surah rows that match the search, on the tab kept in the settings
// ("para" shows paras, any other value surahs), following the library's tables as they arrive.
class QuranBrowseController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_MOC_INCLUDE("services/AppSettings.h")
    Q_PROPERTY(AppSettings* settings READ settings WRITE setSettings NOTIFY settingsChanged)
    Q_PROPERTY(QuranLibrary* library READ library WRITE setLibrary NOTIFY rowsChanged)
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    Q_PROPERTY(QString tab READ tab WRITE setTab NOTIFY tabChanged)
    Q_PROPERTY(bool showsParas READ showsParas NOTIFY tabChanged)
    Q_PROPERTY(bool libraryEmpty READ libraryEmpty NOTIFY rowsChanged)
    // Each row: surah, ayah (what choosing it opens), number, title, subtitle, detail, trailing,
    // trailingDetail, accessibleName.
    Q_PROPERTY(QVariantList rows READ rows NOTIFY rowsChanged)

  public:
    explicit QuranBrowseController(QObject* parent = nullptr);

    AppSettings* settings() const { return settings_; }
    void setSettings(AppSettings* settings);
    QuranLibrary* library() const { return library_; }
    void setLibrary(QuranLibrary* library);
    const QString& search() const { return search_; }
    void setSearch(const QString& search);
    QString tab() const;
    void setTab(const QString& tab);
    bool showsParas() const { return tab() == QLatin1String("para"); }
    bool libraryEmpty() const { return !library_ || library_->surahs().isEmpty(); }
    QVariantList rows() const;

  Q_SIGNALS:
    void settingsChanged();
    void searchChanged();
    void tabChanged();
    void rowsChanged();

  private:
    QPointer<AppSettings> settings_;
    QPointer<QuranLibrary> library_;
    QString search_;
};
