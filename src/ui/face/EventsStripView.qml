import QtQuick
import QtQuick.Window
import Orvane.Common
import Orvane.Face

// The upcoming Islamic dates as a row of chips, 52 points high, stepping one chip to the centre every
// `stepInterval` ms. `events` holds {id, name, gregorian, inDays, hijriDay, hijriMonthName}.
Item {
    id: strip

    property var events: []
    property string lang: "en"
    property string todayLabel: "today"
    property string daysShortLabel: "days"
    property int index: 0
    property int stepInterval: 3500

    implicitHeight: events.length > 0 ? 52 : 0
    visible: events.length > 0

    function step() {
        const next = FaceFormat.nextEventIndex(index, events.length)
        if (next === index) return
        index = next
        const chip = chips.itemAt(index)
        if (!chip) return
        const target = row.x + chip.x + chip.width / 2 - flick.width / 2
        scroll.to = Math.max(0, Math.min(target, flick.contentWidth - flick.width))
        scroll.restart()
    }

    Timer {
        interval: strip.stepInterval
        repeat: true
        running: strip.visible && strip.events.length > 1 && strip.Window.window !== null
                 && strip.Window.window.visible
        onTriggered: strip.step()
    }

    Flickable {
        id: flick
        anchors.fill: parent
        contentWidth: Math.max(width, row.width + 8)
        contentHeight: height
        flickableDirection: Flickable.HorizontalFlick
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        NumberAnimation {
            id: scroll
            target: flick
            property: "contentX"
            duration: 600
            easing.type: Easing.InOutQuad
        }

        Row {
            id: row
            objectName: "chipRow"
            x: 4 + Math.max(0, (flick.width - 8 - width) / 2)
            anchors.verticalCenter: parent.verticalCenter
            spacing: 10
            Repeater {
                id: chips
                model: strip.events
                RoundedBox {
                    required property var modelData
                    objectName: "eventChip"
                    width: chipRow.implicitWidth + 24
                    height: chipRow.implicitHeight + 16
                    radius: 12
                    color: Theme.panelHi
                    Row {
                        id: chipRow
                        x: 12
                        anchors.verticalCenter: parent.verticalCenter
                        spacing: 8
                        SymbolIcon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "moon.stars.fill"
                            size: Theme.caption
                            color: Theme.gold
                        }
                        Column {
                            anchors.verticalCenter: parent.verticalCenter
                            spacing: 1
                            ThemeText {
                                text: modelData.name
                                textStyle: "caption"
                                bold: true
                                maximumLineCount: 1
                            }
                            ThemeText {
                                text: FaceFormat.eventDetail(modelData.hijriDay, modelData.hijriMonthName,
                                                             modelData.gregorian, strip.lang)
                                font.pixelSize: 10
                                color: Theme.textMuted
                                maximumLineCount: 1
                            }
                        }
                        ThemeText {
                            anchors.verticalCenter: parent.verticalCenter
                            text: FaceFormat.eventDaysLeft(modelData.inDays, strip.todayLabel, strip.daysShortLabel)
                            font.pixelSize: 10
                            bold: true
                            color: Theme.green
                        }
                    }
                }
            }
        }
    }
}
