#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

// This platform's entry of the update manifest, taken only when it can be acted on safely: an https
// download address, a SHA-256 checksum and a build number.
struct UpdateEntry {
    QString version;
    qint64 buildNumber = 0;
    QUrl downloadUrl;        // always https
    QString checksumSha256;  // lower-case hex
    bool forceUpdate = false;
    QString releaseNotes;

    // The manifest's key for this build; other platforms' archives are never taken.
    static QString platformKey() { return QStringLiteral("linux"); }
    static std::optional<UpdateEntry> fromManifest(const QByteArray& manifest);
};
