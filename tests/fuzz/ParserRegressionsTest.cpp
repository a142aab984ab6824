#include <gtest/gtest.h>

#include "ParserChecks.h"

#include <QDirIterator>
#include <QFile>

// Replays what the fuzz targets were seeded with (every recorded reply of the project) and every input a
// fuzz run once broke (kept under tests/fuzz/regressions/<target>), through the same checks.
namespace {

QStringList filesUnder(const QString& folder, const QStringList& patterns) {
    QStringList out;
    QDirIterator it(folder, patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) out << it.next();
    out.sort();
    return out;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ParserRegressions, EveryRecordedReplyKeepsEveryRule) {
    const QStringList seeds = filesUnder(QStringLiteral(ORVANE_FIXTURES_DIR), {QStringLiteral("*.json")});
    ASSERT_GT(seeds.size(), 20);
    for (const ParserChecks::Target& target : ParserChecks::all()) {
        for (const QString& path : seeds) {
            const QStringList broken = target.check(contents(path));
            EXPECT_TRUE(broken.isEmpty()) << target.name << " on " << path.toStdString() << ": "
                                          << broken.join(QStringLiteral("; ")).toStdString();
        }
    }
}

TEST(ParserRegressions, EveryInputAFuzzRunBrokeNowKeepsEveryRule) {
    int replayed = 0;
    for (const ParserChecks::Target& target : ParserChecks::all()) {
        const QString folder = QStringLiteral(ORVANE_FUZZ_REGRESSIONS_DIR "/") + QLatin1String(target.name);
        for (const QString& path : filesUnder(folder, {})) {
            ++replayed;
            const QStringList broken = target.check(contents(path));
            EXPECT_TRUE(broken.isEmpty()) << target.name << " on " << path.toStdString() << ": "
                                          << broken.join(QStringLiteral("; ")).toStdString();
        }
    }
    RecordProperty("replayed", replayed);
}

}  // namespace
