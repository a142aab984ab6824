#include "model/Rakat.h"

using namespace Qt::Literals::StringLiterals;

namespace Rakat {

namespace {
constexpr Line fajr[] = {{"2"_L1, "rk_sunnah"_L1}, {"2"_L1, "rk_fard"_L1}};
constexpr Line dhuhr[] = {
    {"4"_L1, "rk_sunnah"_L1}, {"4"_L1, "rk_fard"_L1}, {"2"_L1, "rk_sunnah"_L1}, {"2"_L1, "rk_nafl"_L1}};
constexpr Line jumah[] = {
    {"4"_L1, "rk_sunnah"_L1}, {"2"_L1, "rk_fard"_L1}, {"4+2"_L1, "rk_sunnah"_L1}, {"2"_L1, "rk_nafl"_L1}};
constexpr Line asr[] = {{"4"_L1, "rk_sunnah"_L1}, {"4"_L1, "rk_fard"_L1}};
constexpr Line maghrib[] = {{"3"_L1, "rk_fard"_L1}, {"2"_L1, "rk_sunnah"_L1}, {"2"_L1, "rk_nafl"_L1}};
constexpr Line isha[] = {{"4"_L1, "rk_sunnah"_L1}, {"4"_L1, "rk_fard"_L1}, {"2"_L1, "rk_sunnah"_L1},
                         {"2"_L1, "rk_nafl"_L1},   {"3"_L1, "rk_witr"_L1}, {"2"_L1, "rk_nafl"_L1}};
}  // namespace

Info info(QStringView prayer, bool friday) {
    if (prayer == "dhuhr"_L1) return friday ? Info{true, jumah, 14} : Info{false, dhuhr, 12};
    if (prayer == "fajr"_L1) return {false, fajr, 4};
    if (prayer == "asr"_L1) return {false, asr, 8};
    if (prayer == "maghrib"_L1) return {false, maghrib, 7};
    if (prayer == "isha"_L1) return {false, isha, 17};
    return {};
}

}  // namespace Rakat
