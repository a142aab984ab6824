#pragma once

#include "model/BrandingRecords.h"
#include "model/SettingsSnapshot.h"
#include "services/SerialGate.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QString>
#include <QUrl>
#include <map>
#include <optional>

// The server's dial logos (slots 1-10) kept on disk under "Orvane/Logos" with a manifest of what each file
// is, so the dial shows a logo offline. One instance owns the folder and runs its syncs one at a time.
class LogoDiskCache {
  public:
    static LogoDiskCache& shared();

    static QString directoryURL();

    // One cached logo as the manifest records it.
    struct Entry {
        int slot = 0;
        QString version;  // the server's token for the image; empty when it gave none
        QString file;     // name inside the folder, made here from the slot, never from server data
        qint64 bytes = 0;
    };

    // Asks the server which slots hold a logo (a HEAD per slot) and downloads only the new or changed ones;
    // a slot the server answers "not found" for is removed. Runs at most once per geoRefreshHours unless
    // forced. True when every slot got an answer and the folder now matches the server; false when the
    // server could not be asked (the cache is kept as it was).
    QCoro::Task<bool> syncDialLogos(SettingsSnapshot settings, bool force);

    // The logo for this run of the program: with rotation on and two or more logos cached, the one at
    // logoRotateIndex (modulo their number), else the active slot (1 when the server names none).
    struct Pick {
        std::optional<QUrl> url;  // a local file URL; nothing when that logo is not cached
        int nextRotateIndex = 0;  // to be stored back as logoRotateIndex
    };
    Pick pickDialLogo(int logoRotateIndex) const;

    // The logos on disk, by slot; entries whose file is missing or of another size are left out.
    QList<Entry> cachedLogos() const;
    // The branding the last sync received, kept in the manifest.
    std::optional<Branding> cachedBranding() const;

    static inline const QString stampKey = QStringLiteral("branding.logos");

    // What "manifest.json" says is in the folder.
    struct Manifest {
        bool readable = false;  // the file was there and was a JSON object
        std::optional<Branding> branding;
        std::map<int, Entry> entries;
    };
    // The manifest in those bytes; entries naming another slot's file, a path or a slot outside 1-10 are
    // left out, and bytes that are no JSON object give an unreadable, empty manifest.
    static Manifest parseManifest(const QByteArray& bytes);

  private:
    LogoDiskCache() = default;

    SerialGate gate_;
};
