#include <gtest/gtest.h>

#include "model/Rakat.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

QString describe(const Rakat::Info& info) {
    QStringList lines;
    for (const Rakat::Line& line : info.lines) lines << QString(line.count) + u' ' + QString(line.key);
    return lines.join(u", "_s);
}

// "4+2" counts as six.
int summed(const Rakat::Info& info) {
    int sum = 0;
    for (const Rakat::Line& line : info.lines)
        for (const QString& part : QString(line.count).split(u'+')) sum += part.toInt();
    return sum;
}

}  // namespace

TEST(Rakat, TableByPrayerAndDay) {
    struct Case {
        QString prayer;
        bool friday;
        bool isJumah;
        QString lines;
        int total;
    } cases[] = {
        {u"fajr"_s, false, false, u"2 rk_sunnah, 2 rk_fard"_s, 4},
        {u"fajr"_s, true, false, u"2 rk_sunnah, 2 rk_fard"_s, 4},
        {u"dhuhr"_s, false, false, u"4 rk_sunnah, 4 rk_fard, 2 rk_sunnah, 2 rk_nafl"_s, 12},
        {u"dhuhr"_s, true, true, u"4 rk_sunnah, 2 rk_fard, 4+2 rk_sunnah, 2 rk_nafl"_s, 14},
        {u"asr"_s, true, false, u"4 rk_sunnah, 4 rk_fard"_s, 8},
        {u"maghrib"_s, false, false, u"3 rk_fard, 2 rk_sunnah, 2 rk_nafl"_s, 7},
        {u"isha"_s, true, false, u"4 rk_sunnah, 4 rk_fard, 2 rk_sunnah, 2 rk_nafl, 3 rk_witr, 2 rk_nafl"_s,
         17},
        {u"sunrise"_s, false, false, u""_s, 0},
        {u""_s, true, false, u""_s, 0},
        {u"Dhuhr"_s, true, false, u""_s, 0},
    };
    for (const Case& c : cases) {
        const Rakat::Info info = Rakat::info(c.prayer, c.friday);
        EXPECT_EQ(info.isJumah, c.isJumah) << c.prayer.toStdString();
        EXPECT_EQ(describe(info), c.lines) << c.prayer.toStdString();
        EXPECT_EQ(info.total, c.total) << c.prayer.toStdString();
        EXPECT_EQ(summed(info), c.total) << c.prayer.toStdString();
    }
}
