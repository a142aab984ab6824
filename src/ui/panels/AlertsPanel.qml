import QtQuick
import Orvane.Common
import Orvane.Face
import Orvane.Panels

// The alarming things of the moment: a sounding emergency with its Stop button, the call while it plays,
// and the bundle's alerts as a calm line or a count badge before a scrolling ticker.
Panel {
    id: panel

    property var bundle
    property bool metric: true
    property bool followSharedPlayer: true

    title: alerts.title
    bottomSpacer: true

    readonly property AlertsPanelModel alerts: AlertsPanelModel {
        bundle: panel.bundle
        metric: panel.metric
        followSharedPlayer: panel.followSharedPlayer
    }

    Column {
        spacing: 0

        Row {
            objectName: "emergencyRow"
            visible: alerts.emergencyRinging
            width: parent.width
            height: visible ? Math.max(emergencyText.height, stop.height) + 8 : 0
            spacing: 8
            PanelIcon {
                y: (parent.height - 8 - height) / 2
                name: "exclamationmark.triangle.fill"
                color: alerts.red
                size: Theme.subheadline
            }
            Column {
                id: emergencyText
                y: (parent.height - 8 - height) / 2
                width: parent.width - stop.width - 2 * 8 - Theme.subheadline - 6
                spacing: 1
                ThemeText {
                    width: parent.width
                    text: alerts.emergencyTitle
                    textStyle: "subheadline"
                    bold: true
                    color: alerts.red
                    elide: Text.ElideRight
                }
                ThemeText {
                    visible: alerts.emergencyBody.length > 0
                    width: parent.width
                    text: alerts.emergencyBody
                    textStyle: "caption2"
                    color: Qt.rgba(1, 1, 1, 0.9)
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }
            }
            FocusButton {
                id: stop
                objectName: "stopEmergency"
                y: (parent.height - 8 - height) / 2
                width: stopText.implicitWidth + 20
                height: stopText.implicitHeight + 8
                focusRadius: 6
                text: "Stop"
                onClicked: alerts.stopEmergency()
                Rectangle { anchors.fill: parent; radius: 6; color: stop.down ? Qt.darker(alerts.red, 1.2) : alerts.red }
                ThemeText {
                    id: stopText
                    anchors.centerIn: parent
                    Accessible.ignored: true
                    text: "Stop"
                    textStyle: "caption"
                    bold: true
                }
            }
        }

        Column {
            objectName: "callRow"
            visible: alerts.ringing
            width: parent.width
            height: visible ? implicitHeight + 8 : 0
            spacing: 4
            Row {
                spacing: 6
                PanelIcon { name: "speaker.wave.3.fill"; color: Theme.gold; size: Theme.subheadline }
                ThemeText { text: alerts.activeTitle; textStyle: "subheadline"; bold: true; color: Theme.gold }
            }
            ThemeText {
                width: parent.width
                text: alerts.activeText
                textStyle: "caption"
                color: Qt.rgba(1, 1, 1, 0.9)
                wrapMode: Text.Wrap
                maximumLineCount: 6
            }
            ThemeText {
                width: parent.width
                text: alerts.blessingLine
                horizontalAlignment: Text.AlignLeft
                textStyle: "caption2"
                color: Theme.textMuted
                elide: Text.ElideRight
            }
        }

        Row {
            objectName: "calmLine"
            visible: alerts.count === 0
            height: visible ? 20 : 0
            spacing: 8
            PanelIcon {
                anchors.verticalCenter: parent.verticalCenter
                name: alerts.iconName
                color: alerts.checked ? Theme.green : Theme.textMuted
                size: Theme.caption
            }
            ThemeText {
                anchors.verticalCenter: parent.verticalCenter
                text: alerts.noAlertsText
                textStyle: "caption"
                color: Theme.textMuted
            }
        }

        Item {
            objectName: "alertsBar"
            visible: alerts.count > 0
            width: parent.width
            height: visible ? 20 : 0
            Row {
                id: lead
                anchors.verticalCenter: parent.verticalCenter
                spacing: 10
                PanelIcon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: alerts.iconName
                    color: alerts.accentColor
                    size: Theme.caption
                }
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: badge.implicitWidth + 10
                    height: badge.implicitHeight + 2
                    radius: height / 2
                    color: Qt.rgba(alerts.accentColor.r, alerts.accentColor.g, alerts.accentColor.b, 0.25)
                    Text {
                        id: badge
                        anchors.centerIn: parent
                        text: alerts.count
                        font.family: Theme.fontFamily
                        font.pixelSize: 10
                        font.bold: true
                        color: alerts.accentColor
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                }
            }
            Loader {
                // Rebuilt when the text changes, so the ticker starts again from its beginning.
                x: lead.width + 10
                width: parent.width - x
                height: 20
                sourceComponent: alerts.count > 0 ? ticker : null
                property string tickerText: alerts.tickerText
                onTickerTextChanged: { active = false; active = true }
                Component {
                    id: ticker
                    Marquee {
                        text: alerts.tickerText
                        font: Qt.font({ family: Theme.fontFamily, pixelSize: Theme.caption, weight: Font.Medium })
                        color: alerts.accentColor
                        forceScroll: true
                        speed: 55
                        gap: 60
                        height: 20
                    }
                }
            }
        }
    }
}
