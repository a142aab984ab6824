#pragma once

#include "platform/DefaultsStore.h"

#include <QString>

// The key under which a device's profile keeps one setting in the standard store.
inline QString profileKey(const char* device, const char* name) {
    return QStringLiteral("profile.%1.%2").arg(QLatin1String(device), QLatin1String(name));
}

// A profile that has accepted the privacy note and stands at a fixed place, Makkah (+3), so the whole
// application starts straight to the face without asking for a location.
inline void seedMakkahProfile(const char* device) {
    DefaultsStore& store = DefaultsStore::standard();
    store.setBool(profileKey(device, "acceptedPrivacy"), true);
    store.setBool(profileKey(device, "useManualLocation"), true);
    store.setDouble(profileKey(device, "manualLat"), 21.4225);
    store.setDouble(profileKey(device, "manualLon"), 39.8262);
    store.setString(profileKey(device, "manualCity"), QStringLiteral("Makkah"));
    store.setDouble(profileKey(device, "manualTzOffsetHours"), 3.0);
}
