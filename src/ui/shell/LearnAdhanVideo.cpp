#include "ui/shell/LearnAdhanVideo.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace LearnAdhanVideo {

QString builtInURLString() {
    return u"https://www.youtube.com/results?search_query=learn+the+adhan+call+to+prayer"_s;
}

QString resolvedURLString(const QString& userOverride) {
    const QString trimmed = userOverride.trimmed();
    return trimmed.isEmpty() ? builtInURLString() : trimmed;
}

std::optional<QUrl> openableURL(const QString& urlString) {
    const QString text = urlString.trimmed();
    if (text.isEmpty()) return std::nullopt;
    // Text that names a scheme keeps it, so "javascript:" or "file:" are refused below rather than rewritten
    // into something that looks like a web address; "host:port/path" names no scheme.
    static const QRegularExpression schemePrefix(u"^[A-Za-z][A-Za-z0-9+.-]*:(?!\\d)"_s);
    const bool namesScheme = text.contains(u"://"_s) || schemePrefix.match(text).hasMatch();
    const QUrl url(namesScheme ? text : u"https://"_s + text, QUrl::StrictMode);
    if (!url.isValid()) return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != "http"_L1 && scheme != "https"_L1) return std::nullopt;
    if (url.host().isEmpty()) return std::nullopt;
    return url;
}

}  // namespace LearnAdhanVideo
