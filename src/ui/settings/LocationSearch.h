#pragma once

#include "model/ServerReplies.h"

#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>

class AppSettings;

// The fixed-place search of the Location pane: the typed text, the suggestions shown for it (debounced,
// only the newest answer counts) and the action that turns a chosen suggestion into the clock's fixed
// place. The lookups are replaceable so tests can answer them.
class LocationSearch : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("part of the settings window")
    Q_PROPERTY(QString cityQuery READ cityQuery WRITE setCityQuery NOTIFY cityQueryChanged)
    Q_PROPERTY(QVariantList suggestions READ suggestionRows NOTIFY suggestionsChanged)
    // How many suggestions are on show, for screen readers to announce; empty with none.
    Q_PROPERTY(QString suggestionsNote READ suggestionsNote NOTIFY suggestionsChanged)
    Q_PROPERTY(QString lookupMessage READ lookupMessage NOTIFY lookupMessageChanged)
  public:
    static constexpr int debounceMs = 350;

    struct Services {
        std::function<QCoro::Task<QList<AddressSuggestion>>(QString, std::optional<double>,
                                                            std::optional<double>)>
            autocomplete;
        std::function<QCoro::Task<std::optional<PlaceResult>>(QString)> place;
        // The place's UTC offset; nothing when no lookup knows it.
        std::function<QCoro::Task<std::optional<double>>(double, double, QDateTime)> offsetHours;
        // Runs `fire` after `ms`; a superseded search simply ignores its firing.
        std::function<void(int ms, std::function<void()> fire)> defer;
    };
    // The maps client (the offline places database when no maps key is built in) and a real timer.
    static Services defaultServices(QObject* context);

    LocationSearch(AppSettings& settings, Services services, QObject* parent = nullptr);

    void setBias(std::optional<double> lat, std::optional<double> lon);

    const QString& cityQuery() const { return cityQuery_; }
    // A change of the text searches again while the search field is on show (the fixed place is on).
    void setCityQuery(const QString& text);
    const QList<AddressSuggestion>& suggestions() const { return suggestions_; }
    QVariantList suggestionRows() const;
    QString suggestionsNote() const;
    const QString& lookupMessage() const { return lookupMessage_; }

    // Restarts the debounced search for the text: under three characters (after trimming spaces and tabs)
    // empties the list and asks nothing.
    void scheduleSearch(const QString& query);

    // Resolves the suggestion on show at `index` and applies it as the fixed place.
    Q_INVOKABLE void choose(int index);
    QCoro::Task<> choose(AddressSuggestion suggestion);

    static QString appliedText() { return QStringLiteral("Applied \u2713 \u2014 saved to your clock ID"); }
    static QString appliedLocallyText() {
        return QStringLiteral("Applied on this computer \u2014 could not save it to your clock ID.");
    }
    static QString notFoundText() { return QStringLiteral("Couldn't locate that."); }
    static QString estimatedOffsetNote() {
        return QStringLiteral(" The time zone was estimated from the longitude.");
    }

  Q_SIGNALS:
    void cityQueryChanged();
    void suggestionsChanged();
    void lookupMessageChanged();
    // A place was applied: the clock should be rebuilt for it.
    void applied();

  private:
    QCoro::Task<> search(QString text, quint64 generation);
    void setSuggestions(QList<AddressSuggestion> list);
    void setLookupMessage(const QString& text);

    AppSettings& settings_;
    Services services_;
    std::optional<double> biasLat_, biasLon_;
    QString cityQuery_;
    QList<AddressSuggestion> suggestions_;
    QString lookupMessage_;
    quint64 searchGeneration_ = 0;
    quint64 chooseGeneration_ = 0;
};
