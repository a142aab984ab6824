#include <gtest/gtest.h>

#include "ui/shell/LearnAdhanVideo.h"

using namespace Qt::Literals::StringLiterals;

TEST(LearnAdhanVideo, BuiltInLinkIsAnOpenableWebSearch) {
    const QString builtIn = LearnAdhanVideo::builtInURLString();
    const std::optional<QUrl> url = LearnAdhanVideo::openableURL(builtIn);
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(url->scheme(), u"https"_s);
    EXPECT_FALSE(url->host().isEmpty());
    EXPECT_TRUE(url->query().contains(u"adhan"_s));
}

TEST(LearnAdhanVideo, ResolvedLinkPrefersTheUsersTrimmedLink) {
    const QString builtIn = LearnAdhanVideo::builtInURLString();
    const struct {
        QString userOverride;
        QString expected;
    } cases[] = {
        {QString(), builtIn},
        {u""_s, builtIn},
        {u"   "_s, builtIn},
        {u"\n\t \r\n"_s, builtIn},
        {u"https://videos.example.org/watch?v=abc"_s, u"https://videos.example.org/watch?v=abc"_s},
        {u"  https://videos.example.org/x \n"_s, u"https://videos.example.org/x"_s},
        {u"not a link"_s, u"not a link"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LearnAdhanVideo::resolvedURLString(c.userOverride), c.expected)
            << c.userOverride.toStdString();
}

TEST(LearnAdhanVideo, OnlyWebAddressesAreOpenable) {
    const struct {
        QString text;
        std::optional<QString> expected;
    } cases[] = {
        {u"https://videos.example.org/watch?v=abc"_s, u"https://videos.example.org/watch?v=abc"_s},
        {u"HTTP://Videos.Example.org/a"_s, u"http://videos.example.org/a"_s},
        {u"videos.example.org/watch?v=abc"_s, u"https://videos.example.org/watch?v=abc"_s},
        {u"videos.example.org:8443/x"_s, u"https://videos.example.org:8443/x"_s},
        {u"javascript:alert(1)"_s, std::nullopt},
        {u"file:///etc/passwd"_s, std::nullopt},
        {u"ftp://files.example.org/a"_s, std::nullopt},
        {u"mailto:someone@example.org"_s, std::nullopt},
        {u"https://"_s, std::nullopt},
        {u"https:///path-only"_s, std::nullopt},
        {u"https://exa mple.org/"_s, std::nullopt},
        {u""_s, std::nullopt},
        {u"   "_s, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<QUrl> url = LearnAdhanVideo::openableURL(c.text);
        ASSERT_EQ(url.has_value(), c.expected.has_value()) << c.text.toStdString();
        if (url) {
            EXPECT_EQ(url->toString(), *c.expected) << c.text.toStdString();
        }
    }
}
