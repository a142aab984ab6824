#pragma once

#include <QUrl>

// The two fixed addresses of the own server. The host is set at build time and follows the current
// endpoints, so tests can point it at a loopback server.
namespace Server {

// Origin of every request to the own server.
QUrl baseURL();
// Its privacy page: the same origin with the path "/privacy".
QUrl privacyURL();

}  // namespace Server
