#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <ctime>

// The device's own time zone, set through TZ for the life of the object.
class DeviceZone {
  public:
    explicit DeviceZone(const char* zone) : old_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~DeviceZone() {
        if (had_)
            qputenv("TZ", old_);
        else
            qunsetenv("TZ");
        tzset();
    }
    DeviceZone(const DeviceZone&) = delete;
    DeviceZone& operator=(const DeviceZone&) = delete;

  private:
    QByteArray old_;
    bool had_;
};
