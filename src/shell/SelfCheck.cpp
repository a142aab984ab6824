#include "shell/SelfCheck.h"

#include "engine/CivilDay.h"
#include "engine/LocalHijriCalendar.h"
#include "ui/UiModules.h"

#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QUrl>
#include <cstdio>

namespace SelfCheck {

QStringList problems() {
    QStringList found;
    // The calendar straight from ICU, without the stored day offset: the check reads no user data.
    const std::int64_t day = CivilDay::daysFromCivil(1983, 2, 27);
    const std::optional<LocalHijri::YMD> hijri = LocalHijriCalendar::fromDayUncached(day);
    if (!hijri || hijri->year != 1403 || hijri->month != 5 || hijri->day != 14 ||
        LocalHijriCalendar::toDay(1403, 5, 14) != day)
        found << QStringLiteral("the Umm al-Qura calendar gives a wrong date for 27 Feb 1983");

    for (const char* resource : {":/orvane/sounds/adhan_fajr.ogg", ":/orvane/sounds/adhan_regular.ogg",
                                 ":/orvane/sounds/emergency_alert.wav", ":/orvane/shell/update_orvane"}) {
        QFile file(QString::fromLatin1(resource));
        if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
            found << QStringLiteral("missing resource %1").arg(QString::fromLatin1(resource));
    }

    // Compiling the window resolves every QML module and type the clock loads, without creating anything
    // (no settings are read, no window opens).
    QQmlEngine engine;
    UiModules::prepare(engine);
    QQmlComponent window(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Orvane/Shell/MainWindow.qml")));
    if (!window.isReady()) {
        for (const QQmlError& error : window.errors()) found << error.toString();
        if (window.errors().isEmpty()) found << QStringLiteral("the main window did not load");
    }
    return found;
}

int run() {
    const QStringList faults = problems();
    for (const QString& fault : faults) std::fprintf(stderr, "orvane self-check: %s\n", qPrintable(fault));
    if (faults.isEmpty()) std::fputs("orvane self-check: ok\n", stdout);
    std::fflush(stdout);
    return faults.isEmpty() ? 0 : 1;
}

}  // namespace SelfCheck
