#include "ProbeArguments.h"

#include "engine/CivilDay.h"

#include <cmath>

ProbeArguments::ProbeArguments(const QStringList& arguments, const QStringList& allowed) {
    for (qsizetype i = 0; i < arguments.size() && ok(); i += 2) {
        const QString& option = arguments[i];
        if (!option.startsWith(QLatin1StringView("--")) || !allowed.contains(option.mid(2))) {
            fail(QStringLiteral("unknown option ") + option);
        } else if (i + 1 >= arguments.size()) {
            fail(QStringLiteral("missing value for ") + option);
        } else if (values_.contains(option.mid(2))) {
            fail(QStringLiteral("option given twice: ") + option);
        } else {
            values_.insert(option.mid(2), arguments[i + 1]);
        }
    }
}

void ProbeArguments::fail(const QString& why) {
    if (error_.isEmpty()) error_ = why;
}

std::optional<QString> ProbeArguments::raw(const QString& name, bool required) {
    if (!ok()) return std::nullopt;
    const auto it = values_.constFind(name);
    if (it == values_.constEnd()) {
        if (required) fail(QStringLiteral("missing --") + name);
        return std::nullopt;
    }
    return *it;
}

double ProbeArguments::number(const QString& name, double low, double high, std::optional<double> fallback) {
    const std::optional<QString> text = raw(name, !fallback);
    if (!text) return fallback.value_or(0);
    bool parsed = false;
    const double value = text->toDouble(&parsed);  // C locale, whatever the process locale
    if (!parsed || !std::isfinite(value) || value < low || value > high) {
        fail(QStringLiteral("bad --") + name + QStringLiteral(": ") + *text);
        return 0;
    }
    return value;
}

int ProbeArguments::integer(const QString& name, int low, int high, std::optional<int> fallback) {
    const std::optional<QString> text = raw(name, !fallback);
    if (!text) return fallback.value_or(0);
    bool parsed = false;
    const int value = text->toInt(&parsed, 10);
    if (!parsed || value < low || value > high) {
        fail(QStringLiteral("bad --") + name + QStringLiteral(": ") + *text);
        return 0;
    }
    return value;
}

QString ProbeArguments::choice(const QString& name, const QStringList& choices,
                               std::optional<QString> fallback) {
    const std::optional<QString> text = raw(name, !fallback);
    if (!text) return fallback.value_or(QString());
    if (!choices.contains(*text)) {
        fail(QStringLiteral("bad --") + name + QStringLiteral(": ") + *text);
        return {};
    }
    return *text;
}

qint64 ProbeArguments::date(const QString& name) {
    const std::optional<QString> text = raw(name, true);
    if (!text) return 0;
    const std::optional<CivilDay::Date> date = CivilDay::parseIso(*text);
    if (!date) {
        fail(QStringLiteral("bad --") + name + QStringLiteral(" (want YYYY-MM-DD): ") + *text);
        return 0;
    }
    return CivilDay::daysFromCivil(date->year, date->month, date->day);
}

qint64 ProbeArguments::instant(const QString& name) {
    const std::optional<QString> text = raw(name, true);
    if (!text) return 0;
    // Exactly YYYY-MM-DDTHH:MM:SSZ: the date part strictly, then a UTC time of day.
    const std::optional<CivilDay::Date> date =
        text->size() == 20 ? CivilDay::parseIso(QStringView(*text).first(10)) : std::nullopt;
    const auto field = [&](int from) {
        const QStringView digits = QStringView(*text).mid(from, 2);
        const auto ascii = [](QChar c) { return c >= u'0' && c <= u'9'; };
        if (digits.size() != 2 || !ascii(digits[0]) || !ascii(digits[1])) return -1;
        return (digits[0].unicode() - u'0') * 10 + (digits[1].unicode() - u'0');
    };
    const bool shaped =
        date && text->at(10) == u'T' && text->at(13) == u':' && text->at(16) == u':' && text->at(19) == u'Z';
    const int hour = shaped ? field(11) : -1;
    const int minute = shaped ? field(14) : -1;
    const int second = shaped ? field(17) : -1;
    if (!shaped || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        fail(QStringLiteral("bad --") + name + QStringLiteral(" (want YYYY-MM-DDTHH:MM:SSZ): ") + *text);
        return 0;
    }
    const qint64 days = CivilDay::daysFromCivil(date->year, date->month, date->day);
    return days * CivilDay::kMsPerDay + (hour * 3600 + minute * 60 + second) * 1000LL;
}
