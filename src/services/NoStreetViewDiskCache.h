#pragma once

#include "services/SerialGate.h"

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QImage>
#include <QString>
#include <optional>

// The picture the qibla panel shows where no street-level photograph exists: the server's version kept on
// disk ("Orvane/NoStreetView/no_streetview.png" with its manifest), else the picture built into the program.
// One instance owns the folder and runs its operations one at a time.
class NoStreetViewDiskCache {
  public:
    static NoStreetViewDiskCache& shared();

    static QString directoryURL();
    static QString imagePath();  // directoryURL() + "/no_streetview.png"

    // The built-in "no_streetview" picture, re-encoded as PNG; nothing when it cannot be had.
    static std::optional<QByteArray> bundledData();

    // PNG signature: yes. Otherwise no when the first 32 bytes hold "\"error\"", else yes only for more
    // than 256 bytes (the server may send another image format).
    static bool isPNG(const QByteArray& data);

    // The stored picture when it is there, accepted by isPNG and readable as an image, else the built-in
    // one; a null image only when neither can be read.
    QCoro::Task<QImage> cachedImage();

    // Brings the stored picture in line with the server, at most once per max(1, maxAgeHours) hours unless
    // forced. True when a picture file is in place afterwards; false when the server says it has none (the
    // stored picture and its manifest are then removed).
    QCoro::Task<bool> sync(bool force, int maxAgeHours);

    static inline const QString stampKey = QStringLiteral("branding.nosv");

  private:
    NoStreetViewDiskCache() = default;

    SerialGate gate_;
};
