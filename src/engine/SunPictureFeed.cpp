#include "engine/SunPictureFeed.h"

SunPictureFeed& SunPictureFeed::shared() {
    static SunPictureFeed* instance = new SunPictureFeed();  // lives as long as the process
    return *instance;
}

void SunPictureFeed::setWorked(bool worked) {
    if (worked == worked_) return;
    worked_ = worked;
    emit workedChanged();
}
