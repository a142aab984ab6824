#include <gtest/gtest.h>

#include "model/IntegerText.h"

#include <QString>
#include <limits>

using namespace Qt::Literals::StringLiterals;

TEST(IntegerText, WholeTextDecimalsOnly) {
    struct Case {
        QString text;
        std::optional<qint64> value;
    } cases[] = {
        {u"0"_s, 0},
        {u"07"_s, 7},
        {u"+7"_s, 7},
        {u"-7"_s, -7},
        {u"-0"_s, 0},
        {u"9223372036854775807"_s, std::numeric_limits<qint64>::max()},
        {u"-9223372036854775808"_s, std::numeric_limits<qint64>::min()},
        {u"9223372036854775808"_s, std::nullopt},
        {u"-9223372036854775809"_s, std::nullopt},
        {u"99999999999999999999999"_s, std::nullopt},
        {u""_s, std::nullopt},
        {u"+"_s, std::nullopt},
        {u"-"_s, std::nullopt},
        {u" 7"_s, std::nullopt},
        {u"7 "_s, std::nullopt},
        {u"7.0"_s, std::nullopt},
        {u"1e3"_s, std::nullopt},
        {u"+-7"_s, std::nullopt},
        {u"٧"_s, std::nullopt},
        {u"７"_s, std::nullopt},
        {u"0x10"_s, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(IntegerText::parse(c.text), c.value) << c.text.toStdString();
}
