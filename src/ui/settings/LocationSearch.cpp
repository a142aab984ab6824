#include "ui/settings/LocationSearch.h"

#include "engine/GoogleMapsClient.h"
#include "platform/Clock.h"
#include "services/AppSettings.h"
#include "ui/settings/SpacesAndTabs.h"

#include <QPointer>
#include <QTextBoundaryFinder>
#include <QTimer>
#include <QVariantMap>
#include <cmath>

namespace {

qsizetype characterCount(const QString& text) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (graphemes.toNextBoundary() != -1) ++count;
    return count;
}

std::optional<QString> firstNonEmpty(std::initializer_list<std::optional<QString>> candidates) {
    for (const std::optional<QString>& c : candidates)
        if (c && !c->isEmpty()) return c;
    return std::nullopt;
}

}  // namespace

LocationSearch::Services LocationSearch::defaultServices(QObject* context) {
    Services s;
    s.autocomplete = [](QString text, std::optional<double> lat, std::optional<double> lon) {
        return GoogleMapsClient::autocomplete(std::move(text), lat, lon);
    };
    s.place = [](QString placeId) { return GoogleMapsClient::place(std::move(placeId)); };
    s.offsetHours = [](double lat, double lon, QDateTime at) {
        return GoogleMapsClient::lookupOffsetHours(lat, lon, std::move(at));
    };
    s.defer = [context](int ms, std::function<void()> fire) { QTimer::singleShot(ms, context, fire); };
    return s;
}

LocationSearch::LocationSearch(AppSettings& settings, Services services, QObject* parent)
    : QObject(parent), settings_(settings), services_(std::move(services)) {}

void LocationSearch::setBias(std::optional<double> lat, std::optional<double> lon) {
    biasLat_ = lat;
    biasLon_ = lon;
}

QVariantList LocationSearch::suggestionRows() const {
    QVariantList rows;
    for (const AddressSuggestion& s : suggestions_)
        rows.append(QVariantMap{{QStringLiteral("label"), s.label}});
    return rows;
}

void LocationSearch::setCityQuery(const QString& text) {
    if (text == cityQuery_) return;
    cityQuery_ = text;
    Q_EMIT cityQueryChanged();
    if (settings_.useManualLocation()) scheduleSearch(text);
}

QString LocationSearch::suggestionsNote() const {
    if (suggestions_.isEmpty()) return {};
    return suggestions_.size() == 1 ? QStringLiteral("1 suggestion")
                                    : QStringLiteral("%1 suggestions").arg(suggestions_.size());
}

void LocationSearch::setSuggestions(QList<AddressSuggestion> list) {
    if (list.isEmpty() && suggestions_.isEmpty()) return;
    suggestions_ = std::move(list);
    Q_EMIT suggestionsChanged();
}

void LocationSearch::setLookupMessage(const QString& text) {
    if (text == lookupMessage_) return;
    lookupMessage_ = text;
    Q_EMIT lookupMessageChanged();
}

void LocationSearch::scheduleSearch(const QString& query) {
    const quint64 generation = ++searchGeneration_;  // whatever was pending is cancelled
    const QString text = trimSpacesAndTabs(query);
    if (characterCount(text) < 3) {
        setSuggestions({});
        return;
    }
    QPointer<LocationSearch> self(this);
    services_.defer(debounceMs, [self, text, generation] {
        if (self && generation == self->searchGeneration_) self->search(text, generation);
    });
}

QCoro::Task<> LocationSearch::search(QString text, quint64 generation) {
    QPointer<LocationSearch> self(this);
    QList<AddressSuggestion> found = co_await services_.autocomplete(text, biasLat_, biasLon_);
    if (!self || generation != searchGeneration_) co_return;  // a newer text was typed meanwhile
    setSuggestions(std::move(found));
}

void LocationSearch::choose(int index) {
    if (index < 0 || index >= suggestions_.size()) return;
    choose(suggestions_.at(index));
}

QCoro::Task<> LocationSearch::choose(AddressSuggestion suggestion) {
    const quint64 generation = ++chooseGeneration_;
    QPointer<LocationSearch> self(this);
    // Only the newest click may apply its place; an older one still resolving is dropped.
    const auto current = [&self, generation] { return self && generation == self->chooseGeneration_; };

    std::optional<double> lat = suggestion.lat, lon = suggestion.lon;
    QString name = suggestion.label;
    std::optional<QString> locality;
    if (suggestion.placeId) {
        const std::optional<PlaceResult> found = co_await services_.place(*suggestion.placeId);
        if (!current()) co_return;
        if (found && found->found) {
            lat = found->lat;
            lon = found->lon;
            name = firstNonEmpty({found->address, found->name}).value_or(suggestion.label);
            locality = found->locality;
        }
    }
    if (!lat || !lon || !std::isfinite(*lat) || !std::isfinite(*lon)) {
        setLookupMessage(notFoundText());
        co_return;
    }

    const std::optional<double> looked = co_await services_.offsetHours(*lat, *lon, Clock::now());
    if (!current()) co_return;
    // With no zone known, the sun's own hour at that longitude is the best guess.
    const double offset = looked.value_or(std::round(*lon / 15.0) + 0.0);

    const bool saved =
        co_await settings_.rememberFixedLocationAndPush(name, *lat, *lon, suggestion.placeId, offset);
    if (!self) co_return;
    // The place is applied whatever became of the push; a newer choice owns the view state from here.
    if (generation != chooseGeneration_) co_return;
    setCityQuery(locality ? *locality : name);
    setSuggestions({});
    setLookupMessage((saved ? appliedText() : appliedLocallyText()) +
                     (looked ? QString() : estimatedOffsetNote()));
    Q_EMIT applied();
}
