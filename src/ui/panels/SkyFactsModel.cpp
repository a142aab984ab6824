#include "SkyFactsModel.h"

#include "SkyTexts.h"

using namespace Qt::Literals::StringLiterals;

QString SkyFactsModel::moonName() const {
    return SkyTexts::nameLine(bundle().moon);
}
QString SkyFactsModel::phaseLine() const {
    return SkyTexts::phaseLine(bundle().moon, bundle());
}
QString SkyFactsModel::distanceLine() const {
    return SkyTexts::distanceLine(bundle().moon, metric());
}
QString SkyFactsModel::dayLine() const {
    return SkyTexts::dayLine(bundle().moon, bundle());
}

namespace {
QString title(const ClockBundle& b, const std::optional<Eclipse>& e, const QString& key) {
    return e ? SkyTexts::eclipseTitle(b.label(key), *e) : QString();
}
}  // namespace

QString SkyFactsModel::lunarTitle() const {
    return title(bundle(), bundle().moon.nextEclipse, u"lunar_eclipse"_s);
}
QString SkyFactsModel::solarTitle() const {
    return title(bundle(), bundle().moon.nextSolarEclipse, u"solar_eclipse"_s);
}

QString SkyFactsModel::lunarDate() const {
    const auto& e = bundle().moon.nextEclipse;
    return e ? SkyTexts::formatEclipse(e->date) : QString();
}
QString SkyFactsModel::solarDate() const {
    const auto& e = bundle().moon.nextSolarEclipse;
    return e ? SkyTexts::formatEclipse(e->date) : QString();
}
QString SkyFactsModel::lunarDateWithRegion() const {
    const auto& e = bundle().moon.nextEclipse;
    return e ? SkyTexts::eclipseDateWithRegion(*e, bundle()) : QString();
}
QString SkyFactsModel::solarDateWithRegion() const {
    const auto& e = bundle().moon.nextSolarEclipse;
    return e ? SkyTexts::eclipseDateWithRegion(*e, bundle()) : QString();
}
