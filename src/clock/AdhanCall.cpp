#include "clock/AdhanCall.h"

#include "model/AdhanTexts.h"
#include "model/ClockBundle.h"
#include "model/Rakat.h"

namespace AdhanCall {

AdhanPlayer::Call compose(const ClockBundle& bundle, const QString& prayer, const QString& adhanLang,
                          bool friday) {
    AdhanPlayer::Call call;
    call.isFajr = prayer == QLatin1String("fajr");
    QString serverText;
    if (bundle.adhan) {
        const AdhanItem& item = call.isFajr ? bundle.adhan->fajr : bundle.adhan->regular;
        call.title = item.title;
        serverText = item.text;
    }
    if (call.title.trimmed().isEmpty()) {
        const AdhanTexts::Table& table = AdhanTexts::table(adhanLang);
        call.title = call.isFajr ? table.fajrTitle : table.regularTitle;
    }
    call.text = AdhanTexts::resolvedBody(call.isFajr, adhanLang, serverText);
    call.prayerName = bundle.label(prayer);
    const Rakat::Info rakat = Rakat::info(prayer, friday);
    call.rakatTitle = bundle.label(rakat.isJumah ? QStringLiteral("jumah") : prayer);
    for (const Rakat::Line& line : rakat.lines)
        call.rakatLines.append(QString(line.count) + QLatin1Char(' ') + bundle.label(QString(line.key)));
    if (rakat.total >= 1)
        call.rakatTotal =
            QString::number(rakat.total) + QLatin1Char(' ') + bundle.label(QStringLiteral("rk_total"));
    return call;
}

}  // namespace AdhanCall
