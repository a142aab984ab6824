#pragma once

#include "../services/SettingsTestEnv.h"
#include "ui/settings/LocationSearch.h"
#include "ui/settings/SettingsChoices.h"
#include "ui/settings/SettingsController.h"

#include <QCoro/QCoroSignal>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>

// A lookup the test answers when it likes: the awaiting coroutine resumes on release().
class Gate : public QObject {
    Q_OBJECT
  public:
    void release() { Q_EMIT released(); }
  Q_SIGNALS:
    void released();
};

// The settings window's world for one test: private settings on a fixture server, and maps lookups and a
// debounce timer the test drives by hand.
struct SettingsTestWorld {
    SettingsTestEnv env;
    AppSettings& settings = env.start();

    QStringList autocompleteCalls;
    QList<AddressSuggestion> autocompleteAnswer;
    std::unique_ptr<Gate> autocompleteGate;  // when set, answers wait for it
    std::function<std::optional<PlaceResult>(const QString&)> placeAnswer = [](const QString&) {
        return std::optional<PlaceResult>();
    };
    std::unique_ptr<Gate> placeGate;
    std::optional<double> offsetAnswer = 3.0;
    struct Deferred {
        int ms;
        std::function<void()> fire;
    };
    QList<Deferred> deferred;

    LocationSearch::Services services() {
        LocationSearch::Services s;
        s.autocomplete = [this](QString text, std::optional<double>,
                                std::optional<double>) -> QCoro::Task<QList<AddressSuggestion>> {
            autocompleteCalls.append(text);
            const QList<AddressSuggestion> answer = autocompleteAnswer;
            if (autocompleteGate) co_await qCoro(autocompleteGate.get(), &Gate::released);
            co_return answer;
        };
        s.place = [this](QString id) -> QCoro::Task<std::optional<PlaceResult>> {
            const std::optional<PlaceResult> answer = placeAnswer(id);
            if (placeGate) co_await qCoro(placeGate.get(), &Gate::released);
            co_return answer;
        };
        s.offsetHours = [this](double, double, QDateTime) -> QCoro::Task<std::optional<double>> {
            co_return offsetAnswer;
        };
        s.defer = [this](int ms, std::function<void()> fire) { deferred.append({ms, std::move(fire)}); };
        return s;
    }

    std::unique_ptr<SettingsController> window(const QString& pane = QStringLiteral("general")) {
        return std::make_unique<SettingsController>(settings, pane, SettingsChoices::methods(), std::nullopt,
                                                    std::nullopt, services());
    }

    void fireAll() {
        const QList<Deferred> pending = std::exchange(deferred, {});
        for (const Deferred& d : pending) d.fire();
    }
};
