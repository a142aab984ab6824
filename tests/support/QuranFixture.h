#pragma once

#include <QByteArray>
#include <QString>
#include <array>

class FixtureServer;

// Whole-Quran documents in the text service's reply shape, generated: 114 surahs with the standard ayah
// counts (6236 ayahs), real names for the surahs, vowelled Arabic with its Quranic marks for the Arabic
// edition and a sentence per ayah for a translation. Any edition is well above the 10,000-byte mark.
namespace QuranFixture {

const std::array<int, 114>& ayahCounts();

struct Options {
    bool withJuz = true;  // "juz" on every ayah, else left out so the reader works it out
};

// The reply body for an edition ("quran-uthmani" gives Arabic, "ur.jalandhry" Urdu, anything else English).
QByteArray edition(const QString& editionId, Options options = {});

// Serves edition(id) at "/v1/quran/<id>" for the Arabic edition and every translation edition.
void serveAll(FixtureServer& server, Options options = {});

}  // namespace QuranFixture
