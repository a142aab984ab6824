#include "model/JsonCoding.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace JsonCoding {

Reader::Reader(const QJsonValue& value) {
    if (value.isObject()) {
        object_ = value.toObject();
    } else {
        error_ = QStringLiteral("not an object");
    }
}

void Reader::fail(const QString& why) {
    if (error_.isEmpty()) error_ = why.isEmpty() ? QStringLiteral("invalid") : why;
}

QJsonValue Reader::present(QLatin1StringView key, bool required) {
    if (!ok()) return QJsonValue(QJsonValue::Undefined);
    const QJsonValue v = object_.value(key);
    if (required && (v.isUndefined() || v.isNull())) fail(QString(key) + QStringLiteral(": missing"));
    return v;
}

QString Reader::requiredString(QLatin1StringView key) {
    const QJsonValue v = present(key, true);
    if (!ok()) return {};
    if (!v.isString()) {
        fail(QString(key) + QStringLiteral(": not a string"));
        return {};
    }
    return v.toString();
}

std::optional<QString> Reader::optionalString(QLatin1StringView key) {
    const QJsonValue v = present(key, false);
    if (!ok() || v.isUndefined() || v.isNull()) return std::nullopt;
    if (!v.isString()) {
        fail(QString(key) + QStringLiteral(": not a string"));
        return std::nullopt;
    }
    return v.toString();
}

double Reader::requiredDouble(QLatin1StringView key) {
    return optionalDoubleImpl(key, true).value_or(0.0);
}

std::optional<double> Reader::optionalDouble(QLatin1StringView key) { return optionalDoubleImpl(key, false); }

std::optional<double> Reader::optionalDoubleImpl(QLatin1StringView key, bool required) {
    const QJsonValue v = present(key, required);
    if (!ok() || v.isUndefined() || v.isNull()) return std::nullopt;
    if (!v.isDouble()) {
        fail(QString(key) + QStringLiteral(": not a number"));
        return std::nullopt;
    }
    return v.toDouble();
}

qint64 Reader::requiredInt(QLatin1StringView key) { return optionalIntImpl(key, true).value_or(0); }

std::optional<qint64> Reader::optionalInt(QLatin1StringView key) { return optionalIntImpl(key, false); }

std::optional<qint64> Reader::optionalIntImpl(QLatin1StringView key, bool required) {
    const QJsonValue v = present(key, required);
    if (!ok() || v.isUndefined() || v.isNull()) return std::nullopt;
    const std::optional<qint64> integer = exactInteger(v);
    if (!integer) fail(QString(key) + QStringLiteral(": not an integer"));
    return integer;
}

bool Reader::requiredBool(QLatin1StringView key) { return optionalBoolImpl(key, true).value_or(false); }

std::optional<bool> Reader::optionalBool(QLatin1StringView key) { return optionalBoolImpl(key, false); }

std::optional<bool> Reader::optionalBoolImpl(QLatin1StringView key, bool required) {
    const QJsonValue v = present(key, required);
    if (!ok() || v.isUndefined() || v.isNull()) return std::nullopt;
    if (!v.isBool()) {
        fail(QString(key) + QStringLiteral(": not a boolean"));
        return std::nullopt;
    }
    return v.toBool();
}

StringMap Reader::requiredStringMap(QLatin1StringView key) {
    return optionalStringMapImpl(key, true).value_or(StringMap{});
}

std::optional<StringMap> Reader::optionalStringMap(QLatin1StringView key) {
    return optionalStringMapImpl(key, false);
}

std::optional<StringMap> Reader::optionalStringMapImpl(QLatin1StringView key, bool required) {
    const QJsonValue v = present(key, required);
    if (!ok() || v.isUndefined() || v.isNull()) return std::nullopt;
    if (!v.isObject()) {
        fail(QString(key) + QStringLiteral(": not an object"));
        return std::nullopt;
    }
    StringMap out;
    const QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (!it.value().isString()) {
            fail(QString(key) + QStringLiteral(": a value is not a string"));
            return std::nullopt;
        }
        out.insert(it.key(), it.value().toString());
    }
    return out;
}

QList<QString> Reader::requiredStringArray(QLatin1StringView key) {
    return optionalStringArrayImpl(key, true).value_or(QList<QString>{});
}

std::optional<QList<QString>> Reader::optionalStringArray(QLatin1StringView key) {
    return optionalStringArrayImpl(key, false);
}

std::optional<QList<QString>> Reader::optionalStringArrayImpl(QLatin1StringView key, bool required) {
    const QJsonValue v = present(key, required);
    if (!ok() || v.isUndefined() || v.isNull()) return std::nullopt;
    if (!v.isArray()) {
        fail(QString(key) + QStringLiteral(": not an array"));
        return std::nullopt;
    }
    QList<QString> out;
    for (const QJsonValue& element : v.toArray()) {
        if (!element.isString()) {
            fail(QString(key) + QStringLiteral(": an element is not a string"));
            return std::nullopt;
        }
        out.append(element.toString());
    }
    return out;
}

void Writer::add(QLatin1StringView key, const StringMap& value) {
    QJsonObject o;
    for (auto it = value.begin(); it != value.end(); ++it) o.insert(it.key(), it.value());
    object_.insert(key, o);
}

void Writer::add(QLatin1StringView key, const QList<QString>& value) {
    QJsonArray array;
    for (const QString& s : value) array.append(s);
    object_.insert(key, array);
}

std::optional<qint64> exactInteger(const QJsonValue& value) {
    if (!value.isDouble()) return std::nullopt;
    // Two different fallbacks agree only when the value really is a representable whole number.
    const qint64 a = value.toInteger(0);
    const qint64 b = value.toInteger(1);
    if (a != b) return std::nullopt;
    return a;
}

bool allFinite(const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::Double:
            return std::isfinite(value.toDouble());
        case QJsonValue::Array:
            for (const QJsonValue& v : value.toArray())
                if (!allFinite(v)) return false;
            return true;
        case QJsonValue::Object: {
            const QJsonObject o = value.toObject();
            for (auto it = o.begin(); it != o.end(); ++it)
                if (!allFinite(it.value())) return false;
            return true;
        }
        default:
            return true;
    }
}

std::optional<QByteArray> encode(const QJsonValue& value) {
    if (!allFinite(value)) return std::nullopt;
    if (value.isObject()) return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray()) return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    return std::nullopt;
}

std::optional<QJsonValue> parse(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) return std::nullopt;
    if (doc.isObject()) return QJsonValue(doc.object());
    if (doc.isArray()) return QJsonValue(doc.array());
    return std::nullopt;
}

}  // namespace JsonCoding
