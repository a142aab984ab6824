import QtQuick
import QtQuick.Controls
import Orvane.Common

// The privacy notice shown before the clock: what leaves the computer and why, a link to the full policy,
// and one button to accept.
Item {
    id: consent
    property string privacyURL
    // Why the notice shows again: the settings were reset, and where the damaged file is kept.
    property string notice
    signal accepted()
    onVisibleChanged: if (visible) accept.forceActiveFocus()
    Component.onCompleted: if (visible) accept.forceActiveFocus()

    Column {
        anchors.centerIn: parent
        width: Math.min(parent.width - 48, 560)
        spacing: 18

        SymbolIcon { anchors.horizontalCenter: parent.horizontalCenter; name: "moon.stars.fill"; width: 44; height: 44; color: Theme.gold }

        ThemeText {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            textStyle: "title2"
            semibold: true
            text: "Your privacy"
        }
        ThemeText {
            width: parent.width
            wrapMode: Text.WordWrap
            color: Theme.textMuted
            text: "Orvane computes prayer times, dates, the moon and the qibla on this computer. To show weather, " +
                  "alerts and place names it asks public services for your approximate location. It keeps a " +
                  "random identifier for this clock on the Orvane server, with your saved home address and a " +
                  "periodic check-in, so the clock can restore your place. Nothing else is collected."
        }
        ThemeText {
            objectName: "settingsResetNotice"
            visible: consent.notice.length > 0
            width: parent.width
            wrapMode: Text.WrapAnywhere
            color: Theme.gold
            text: consent.notice
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }
        ActionButton {
            objectName: "privacyLink"
            anchors.horizontalCenter: parent.horizontalCenter
            flat: true
            text: "Read the privacy policy"
            Accessible.role: Accessible.Link
            background: Rectangle {
                color: "transparent"
                radius: 4
                border.color: parent.visualFocus ? Theme.gold : "transparent"
            }
            contentItem: ThemeText {
                text: parent.text
                color: Theme.gold
                font.underline: parent.hovered
            }
            onClicked: Qt.openUrlExternally(consent.privacyURL)
        }
        ActionButton {
            id: accept
            objectName: "acceptButton"
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Accept and continue"
            onClicked: consent.accepted()
        }
    }
}
