#include "ui/shell/LearnAdhanController.h"

#include "services/AppSettings.h"
#include "services/BlessingsCache.h"
#include "ui/shell/LearnAdhanVideo.h"

#include <QDesktopServices>

using namespace Qt::Literals::StringLiterals;

namespace {

LearnAdhanController::Opener& defaultOpener() {
    static LearnAdhanController::Opener opener;
    return opener;
}

}  // namespace

LearnAdhanController::LearnAdhanController(QObject* parent) : QObject(parent) {
    opener_ =
        defaultOpener() ? defaultOpener() : [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

void LearnAdhanController::setDefaultOpener(Opener opener) {
    defaultOpener() = std::move(opener);
}

void LearnAdhanController::setSettings(AppSettings* settings) {
    if (settings_ == settings) return;
    settings_ = settings;
    Q_EMIT settingsChanged();
}

QVariantMap LearnAdhanController::card() const {
    if (!showingSplash_ || cardIndex_ < 0 || cardIndex_ >= cards_.size()) return {};
    const BlessingsCard& c = cards_.at(cardIndex_);
    return {{u"id"_s, c.id},
            {u"arabic"_s, c.arabic.value_or(QString())},
            {u"transliteration"_s, c.transliteration.value_or(QString())},
            {u"english"_s, c.english.value_or(QString())}};
}

void LearnAdhanController::start() {
    const BlessingsConfig config = hasConfig_ ? config_ : BlessingsCache::current();
    const bool splash = settings_ && settings_->showBlessingsSplash() && config.appEnabled;
    cards_ = splash ? config.orderedCards() : QList<BlessingsCard>{};
    opened_ = false;
    statusText_.clear();
    if (cards_.isEmpty()) {
        showingSplash_ = false;
        cardIndex_ = -1;
        openLink();
        return;
    }
    showingSplash_ = true;
    cardIndex_ = 0;
    Q_EMIT stateChanged();
}

void LearnAdhanController::advance() {
    if (!showingSplash_) return;
    if (cardIndex_ + 1 < cards_.size()) {
        ++cardIndex_;
        Q_EMIT stateChanged();
        return;
    }
    showingSplash_ = false;
    cardIndex_ = -1;
    openLink();
}

void LearnAdhanController::openLink() {
    linkText_ = LearnAdhanVideo::resolvedURLString(settings_ ? settings_->learnAdhanVideoURL() : QString());
    const std::optional<QUrl> url = LearnAdhanVideo::openableURL(linkText_);
    if (!url) {
        opened_ = false;
        statusText_ = notWebAddressText();
    } else if (opener_ && opener_(*url)) {
        opened_ = true;
        statusText_.clear();
    } else {
        opened_ = false;
        statusText_ = browserFailedText();
    }
    Q_EMIT stateChanged();
}
