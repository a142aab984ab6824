#include <gtest/gtest.h>

#include "model/Server.h"
#include "platform/Endpoints.h"

using namespace Qt::Literals::StringLiterals;

TEST(Server, AddressesFollowTheCurrentEndpoints) {
    const Endpoints saved = Endpoints::current();
    Endpoints::setCurrent(Endpoints::allAt(QUrl(u"http://127.0.0.1:4711"_s)));
    EXPECT_EQ(Server::baseURL(), QUrl(u"http://127.0.0.1:4711"_s));
    EXPECT_EQ(Server::privacyURL(), QUrl(u"http://127.0.0.1:4711/privacy"_s));
    Endpoints::setCurrent(saved);
    EXPECT_EQ(Server::baseURL(), Endpoints::builtIn().server);
    EXPECT_EQ(Server::privacyURL().path(), u"/privacy"_s);
    EXPECT_EQ(Server::privacyURL().host(), Endpoints::builtIn().server.host());
    EXPECT_EQ(Server::baseURL().scheme(), u"https"_s);
}
