#pragma once

#include <gtest/gtest.h>

#include "model/JsonCoding.h"

#include <QJsonDocument>
#include <initializer_list>

// Table-driven decoding checks shared by the record tests: each case is a JSON text and what the record
// encodes back to, or nullptr when the text must not decode at all.
struct RecordCase {
    const char* json;
    const char* encoded;
};

inline QJsonValue jsonValue(const char* text) {
    const std::optional<QJsonValue> value = JsonCoding::parse(QByteArray(text));
    EXPECT_TRUE(value.has_value()) << "test JSON does not parse: " << text;
    return value.value_or(QJsonValue());
}

inline std::string compact(const QJsonValue& value) {
    if (value.isObject()) return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact).toStdString();
    if (value.isArray()) return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact).toStdString();
    return "<not a document>";
}

template <class T>
void expectCases(std::initializer_list<RecordCase> cases) {
    for (const RecordCase& c : cases) {
        const std::optional<T> record = T::fromJson(jsonValue(c.json));
        if (!c.encoded) {
            EXPECT_FALSE(record.has_value()) << "decoded but must fail: " << c.json;
            continue;
        }
        ASSERT_TRUE(record.has_value()) << "failed to decode: " << c.json;
        const QJsonValue expected = jsonValue(c.encoded);
        const QJsonValue actual = record->toJson();
        EXPECT_EQ(actual, expected) << c.json << "\n  encoded " << compact(actual) << "\n  expected "
                                    << compact(expected);
    }
}

template <class T>
T decoded(const char* json) {
    const std::optional<T> record = T::fromJson(jsonValue(json));
    EXPECT_TRUE(record.has_value()) << json;
    return record.value_or(T{});
}
