#include <gtest/gtest.h>

#include "FixtureServer.h"
#include "model/AdhanRecords.h"
#include "model/AlertRecords.h"
#include "model/BlessingsRecords.h"
#include "model/BrandingRecords.h"
#include "model/ClockBundle.h"
#include "model/PlaceRecords.h"
#include "model/ServerReplies.h"
#include "model/SourceRecords.h"
#include "model/WeatherRecords.h"

#include <QJsonArray>
#include <QJsonObject>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

// Decodes bytes as T; whatever decodes must encode again and decode to the same JSON.
template <class T>
bool decodesConsistently(const QByteArray& bytes) {
    const std::optional<T> record = JsonCoding::decode<T>(bytes);
    if (!record) return false;
    const std::optional<QByteArray> encoded = JsonCoding::encodeRecord(*record);
    EXPECT_TRUE(encoded.has_value());
    if (!encoded) return true;
    const std::optional<T> again = JsonCoding::decode<T>(*encoded);
    EXPECT_TRUE(again.has_value());
    if (again) {
        EXPECT_EQ(again->toJson(), record->toJson());
    }
    return true;
}

QByteArray nested(int depth, const QByteArray& open, const QByteArray& close, const QByteArray& inner) {
    return open.repeated(depth) + inner + close.repeated(depth);
}

}  // namespace

TEST(BadInput, TruncatedBundlesFailCleanly) {
    const QByteArray full = FixtureServer::fixture(u"bundle-full.json"_s);
    ASSERT_FALSE(full.isEmpty());
    const qsizetype end = full.lastIndexOf('}') + 1;
    for (qsizetype length = 0; length < end; ++length)
        EXPECT_FALSE(decodesConsistently<ClockBundle>(full.left(length))) << "length " << length;
    EXPECT_TRUE(decodesConsistently<ClockBundle>(full.left(end)));
}

TEST(BadInput, CorruptedBytesNeverYieldAnUnencodableBundle) {
    const QByteArray full = FixtureServer::fixture(u"bundle-full.json"_s);
    int decoded = 0;
    for (qsizetype i = 0; i < full.size(); ++i) {
        for (char replacement : {'"', '\x80', '0', '}'}) {
            QByteArray bytes = full;
            bytes[i] = replacement;
            if (decodesConsistently<ClockBundle>(bytes)) ++decoded;
        }
    }
    EXPECT_GT(decoded, 0);  // some changes land in free text and still decode
}

TEST(BadInput, InvalidUtf8AndHugeNumbers) {
    struct Case {
        QByteArray bytes;
        bool decodes;
    } cases[] = {
        {"{\"found\":true,\"city\":\"\xff\xfe\"}", false},
        {"{\"found\":true,\"city\":\"\xed\xa0\x80\"}", false},
        {"{\"found\":true,\"lat\":1e400}", false},
        {"{\"found\":true,\"lat\":-1e308}", true},
        {"{\"found\":true,\"lat\":123456789012345678901234567890}", true},
        {"{\"found\":true,\"city\":\"\\ud800\"}", true},
        {"{\"found\":true,\"city\":\"\\u0000\"}", true},
        {"\xef\xbb\xbf{\"found\":true}", true},  // a byte-order mark is harmless
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodesConsistently<ClockAddressInfo>(c.bytes), c.decodes) << c.bytes.toHex().toStdString();

    EXPECT_FALSE(
        JsonCoding::decode<Hijri>(R"({"year":9223372036854775808,"month":1,"day":1,"month_name":"m"})"));
    EXPECT_FALSE(JsonCoding::decode<Hijri>(R"({"year":1e300,"month":1,"day":1,"month_name":"m"})"));
    const std::optional<Hijri> lowest =
        JsonCoding::decode<Hijri>(R"({"year":-9223372036854775808,"month":1,"day":1,"month_name":"m"})");
    ASSERT_TRUE(lowest);
    EXPECT_EQ(lowest->year, std::numeric_limits<qint64>::min());
    EXPECT_TRUE(decodesConsistently<Hijri>(*JsonCoding::encodeRecord(*lowest)));
}

TEST(BadInput, DeepNestingFailsWithoutExhaustingTheStack) {
    const QByteArray deepArray = nested(100000, "[", "]", "");
    const QByteArray deepObject = nested(100000, "{\"a\":", "}", "1");
    for (const QByteArray& inner : {deepArray, deepObject}) {
        EXPECT_FALSE(JsonCoding::decode<ClockBundle>(inner));
        EXPECT_FALSE(JsonCoding::decode<BlessingsConfig>(R"({"cards":)" + inner + "}"));
    }
    // Shallow enough for the parser, but still the wrong shape.
    EXPECT_FALSE(JsonCoding::decode<BlessingsConfig>(R"({"cards":)" + nested(200, "[", "]", "") + "}"));
    EXPECT_FALSE(JsonCoding::decode<Moon>(
        R"({"phase":"p","phase_name":"n","age_days":1,"illumination_pct":1,"waxing":true,"next_eclipse":)" +
        nested(200, "{\"date\":", "}", "\"d\"") + "}"));
}

TEST(BadInput, EveryDecoderRefusesValuesThatAreNotObjects) {
    const std::function<bool(const QJsonValue&)> decoders[] = {
        [](const QJsonValue& v) { return ClockBundle::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return LocationInfo::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return DateInfo::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Hijri::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return NextPrayer::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return MethodInfo::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Qibla::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return QiblaImages::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Weather::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return CurrentWeather::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return DailyWeather::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Alert::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Moon::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Eclipse::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Event::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return AdhanBundle::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return AdhanItem::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Sources::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return SourceNetwork::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return SourceItem::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Branding::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return LogoSlot::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return ThemeConfig::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return Monetization::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return CustomLink::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return BlessingsConfig::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return BlessingsCard::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return ClockAddressInfo::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return AddressSuggestion::fromJson(v).has_value(); },
        [](const QJsonValue& v) { return PlaceResult::fromJson(v).has_value(); },
    };
    const QJsonValue values[] = {QJsonValue(),     QJsonValue(QJsonValue::Undefined),
                                 QJsonValue(0),    QJsonValue(1.5),
                                 QJsonValue(true), QJsonValue(u"{}"_s),
                                 QJsonArray{},     QJsonArray{QJsonObject{}}};
    for (size_t d = 0; d < std::size(decoders); ++d)
        for (const QJsonValue& value : values) EXPECT_FALSE(decoders[d](value)) << "decoder " << d;
}
