#include "model/Server.h"

#include "platform/Endpoints.h"

namespace Server {

QUrl baseURL() {
    return Endpoints::current().server;
}

QUrl privacyURL() {
    QUrl url = baseURL();
    url.setPath(QStringLiteral("/privacy"));
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

}  // namespace Server
