#pragma once

#include "model/ClockBundle.h"

#include <QFile>
#include <QJsonDocument>

// The face's sample bundle from the fixtures (Makkah, English labels, four events, three alerts).
inline ClockBundle sampleBundle() {
    QFile file(QStringLiteral(ORVANE_FIXTURES_DIR "/face-sample-bundle.json"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ClockBundle::fromJson(QJsonDocument::fromJson(file.readAll()).object()).value_or(ClockBundle{});
}
