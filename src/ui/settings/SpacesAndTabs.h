#pragma once

#include <QString>

// The typed text without the spaces and tabs around it; a line break typed into a field stays part of it.
inline QString trimSpacesAndTabs(const QString& text) {
    qsizetype begin = 0, end = text.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(text.at(begin))) ++begin;
    while (end > begin && blank(text.at(end - 1))) --end;
    return text.mid(begin, end - begin);
}
