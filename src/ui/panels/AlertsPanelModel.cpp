#include "AlertsPanelModel.h"

#include "AlertTexts.h"
#include "clock/AdhanPlayer.h"
#include "model/BlessingsCopy.h"

using namespace Qt::Literals::StringLiterals;

AlertsPanelModel::AlertsPanelModel(QObject* parent) : PanelModel(parent) {}

QColor AlertsPanelModel::accentColor() const {
    return severe_ ? red() : orange();
}

QString AlertsPanelModel::iconName() const {
    if (bundle().alerts.isEmpty())
        return checked() ? u"checkmark.shield.fill"_s : u"exclamationmark.triangle.fill"_s;
    return severe_ ? u"exclamationmark.triangle.fill"_s : u"bell.badge.fill"_s;
}

void AlertsPanelModel::refresh() {
    severe_ = AlertTexts::anySevere(bundle().alerts);
    ticker_ = bundle().alerts.isEmpty() ? QString() : AlertTexts::tickerText(bundle(), metric());
}

QString AlertsPanelModel::blessingLine() {
    return BlessingsCopy::alertsLine(BlessingsCopy::fiSabilillah());
}

void AlertsPanelModel::setFollowSharedPlayer(bool follow) {
    if (follow == followShared_) return;
    followShared_ = follow;
    followPlayer(follow ? &AdhanPlayer::shared() : nullptr);
}

void AlertsPanelModel::followPlayer(AdhanPlayer* player) {
    for (const auto& c : playerConnections_) disconnect(c);
    playerConnections_.clear();
    player_ = player;
    if (player) {
        playerConnections_ << connect(player, &AdhanPlayer::changed, this, &AlertsPanelModel::readPlayer)
                           << connect(player, &AdhanPlayer::emergencyChanged, this,
                                      &AlertsPanelModel::readPlayer);
        readPlayer();
    }
    emit playerChanged();
}

void AlertsPanelModel::readPlayer() {
    if (!player_) return;
    emergencyRinging_ = player_->emergencyRinging();
    emergencyTitle_ = player_->emergencyTitle();
    emergencyBody_ = player_->emergencyBody();
    ringing_ = player_->ringing();
    activeTitle_ = player_->activeTitle();
    activeText_ = player_->activeText();
    emit playerChanged();
}

void AlertsPanelModel::stopEmergency() {
    if (player_) {
        player_->stopEmergency();
        return;
    }
    emergencyRinging_ = false;
    emit playerChanged();
}
