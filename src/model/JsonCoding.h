#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QString>
#include <cmath>
#include <optional>

// The one set of coding rules every record shares: literal keys, strict types, required fields fail the
// record (and so every record around it), optional fields take absent or null as "no value", nil is never
// written, and a non-finite number makes the whole encode fail.
namespace JsonCoding {

using StringMap = QMap<QString, QString>;

// Reads one JSON object field by field. The first failure is kept; once failed, every read returns a
// default and `ok()` stays false, so a record's fromJson can read all its fields and check once at the end.
class Reader {
public:
    explicit Reader(const QJsonValue& value);

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    const QJsonObject& object() const { return object_; }

    QString requiredString(QLatin1StringView key);
    std::optional<QString> optionalString(QLatin1StringView key);
    double requiredDouble(QLatin1StringView key);
    std::optional<double> optionalDouble(QLatin1StringView key);
    qint64 requiredInt(QLatin1StringView key);
    std::optional<qint64> optionalInt(QLatin1StringView key);
    bool requiredBool(QLatin1StringView key);
    std::optional<bool> optionalBool(QLatin1StringView key);
    StringMap requiredStringMap(QLatin1StringView key);
    std::optional<StringMap> optionalStringMap(QLatin1StringView key);
    QList<QString> requiredStringArray(QLatin1StringView key);
    std::optional<QList<QString>> optionalStringArray(QLatin1StringView key);

    template <class T>
    T requiredRecord(QLatin1StringView key) {
        const QJsonValue v = present(key, true);
        if (!ok()) return T{};
        return decodeRecord<T>(key, v).value_or(T{});
    }

    template <class T>
    std::optional<T> optionalRecord(QLatin1StringView key) {
        const QJsonValue v = present(key, false);
        if (!ok() || v.isUndefined() || v.isNull()) return std::nullopt;
        return decodeRecord<T>(key, v);
    }

    template <class T>
    QList<T> requiredArray(QLatin1StringView key) {
        const QJsonValue v = present(key, true);
        if (!ok()) return {};
        return decodeArray<T>(key, v).value_or(QList<T>{});
    }

    template <class T>
    std::optional<QList<T>> optionalArray(QLatin1StringView key) {
        const QJsonValue v = present(key, false);
        if (!ok() || v.isUndefined() || v.isNull()) return std::nullopt;
        return decodeArray<T>(key, v);
    }

    void fail(const QString& why);

private:
    std::optional<double> optionalDoubleImpl(QLatin1StringView key, bool required);
    std::optional<qint64> optionalIntImpl(QLatin1StringView key, bool required);
    std::optional<bool> optionalBoolImpl(QLatin1StringView key, bool required);
    std::optional<StringMap> optionalStringMapImpl(QLatin1StringView key, bool required);
    std::optional<QList<QString>> optionalStringArrayImpl(QLatin1StringView key, bool required);

    // The value under key; undefined when absent. A required key that is absent or null fails the reader.
    QJsonValue present(QLatin1StringView key, bool required);

    template <class T>
    std::optional<T> decodeRecord(QLatin1StringView key, const QJsonValue& v) {
        std::optional<T> record = T::fromJson(v);
        if (!record) fail(QString(key) + QStringLiteral(": invalid record"));
        return record;
    }

    template <class T>
    std::optional<QList<T>> decodeArray(QLatin1StringView key, const QJsonValue& v) {
        if (!v.isArray()) {
            fail(QString(key) + QStringLiteral(": not an array"));
            return std::nullopt;
        }
        const QJsonArray array = v.toArray();
        QList<T> out;
        out.reserve(array.size());
        for (const QJsonValue& element : array) {
            std::optional<T> record = T::fromJson(element);
            if (!record) {
                fail(QString(key) + QStringLiteral(": invalid element"));
                return std::nullopt;
            }
            out.append(std::move(*record));
        }
        return out;
    }

    QJsonObject object_;
    QString error_;
};

// Builds one JSON object in declaration order; optional values are written only when present.
class Writer {
public:
    void add(QLatin1StringView key, const QString& value) { object_.insert(key, value); }
    void add(QLatin1StringView key, double value) { object_.insert(key, value); }
    void add(QLatin1StringView key, qint64 value) { object_.insert(key, value); }
    void add(QLatin1StringView key, int value) { object_.insert(key, qint64(value)); }
    void add(QLatin1StringView key, bool value) { object_.insert(key, value); }
    void add(QLatin1StringView key, const StringMap& value);
    void add(QLatin1StringView key, const QList<QString>& value);
    void add(QLatin1StringView key, const QJsonValue& value) { object_.insert(key, value); }

    template <class T>
        requires requires(const T& t) { t.toJson(); }
    void add(QLatin1StringView key, const T& record) {
        object_.insert(key, record.toJson());
    }

    template <class T>
        requires requires(const T& t) { t.toJson(); }
    void add(QLatin1StringView key, const QList<T>& records) {
        QJsonArray array;
        for (const T& r : records) array.append(r.toJson());
        object_.insert(key, array);
    }

    template <class T>
    void add(QLatin1StringView key, const std::optional<T>& value) {
        if (value) add(key, *value);
    }

    QJsonObject object() const { return object_; }

private:
    QJsonObject object_;
};

// Integral and representable as a signed 64-bit integer; anything else is no Int.
std::optional<qint64> exactInteger(const QJsonValue& value);

// True when every number anywhere in the value is finite.
bool allFinite(const QJsonValue& value);

// Compact JSON bytes, or nothing when any number is not finite (the JSON writer would silently write null).
std::optional<QByteArray> encode(const QJsonValue& value);

// The top-level value of a document, or nothing for bytes that are not one JSON object or array.
std::optional<QJsonValue> parse(const QByteArray& bytes);

template <class T>
std::optional<T> decode(const QByteArray& bytes) {
    const std::optional<QJsonValue> value = parse(bytes);
    if (!value) return std::nullopt;
    return T::fromJson(*value);
}

template <class T>
std::optional<QByteArray> encodeRecord(const T& record) {
    return encode(record.toJson());
}

}  // namespace JsonCoding
