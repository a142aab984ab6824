#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>

// One language the interface can be shown in; `all()` is the fixed list the language setting may take,
// in the order of the language picker.
struct AppLanguage {
    QString code;     // two lower-case letters: the stored setting and the bundle's "lang"
    QString native;   // the language's name in itself
    QString english;  // its name in English

    const QString& id() const { return code; }

    friend bool operator==(const AppLanguage&, const AppLanguage&) = default;
    friend size_t qHash(const AppLanguage& language, size_t seed = 0) {
        return qHashMulti(seed, language.code, language.native, language.english);
    }

    static const QList<AppLanguage>& all();
    // Exact, case-sensitive membership of the list ("EN" is not a code).
    static bool isCode(const QString& code);
};
