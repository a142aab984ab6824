#pragma once

#include <QByteArray>
#include <QFile>

// Kilobytes in one field ("Rss:", "Private_Dirty:") of the first mapping of this process whose header line in
// /proc/self/smaps `matches`; -1 when there is none.
template <class Matches>
long mappingKb(Matches matches, const QByteArray& field) {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly)) return -1;
    bool inside = false;
    for (QByteArray line = smaps.readLine(); !line.isEmpty(); line = smaps.readLine()) {
        if (!line.contains(':') || line.indexOf(' ') < line.indexOf(':'))
            inside = matches(line);
        else if (inside && line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}
