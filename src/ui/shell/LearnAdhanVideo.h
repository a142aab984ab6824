#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// The learn-the-call link: a built-in public video search, which the user may replace with a link of their
// own. Only web addresses ever reach the browser.
namespace LearnAdhanVideo {

QString builtInURLString();

// The user's link trimmed of white space when anything is left, else the built-in one.
QString resolvedURLString(const QString& userOverride);

// The address to hand to the browser: http(s) with a host, nothing else. A bare "www.example.org/x" typed
// without a scheme is read as https.
std::optional<QUrl> openableURL(const QString& urlString);

}  // namespace LearnAdhanVideo
