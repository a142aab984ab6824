import QtQuick
import Orvane.Common
import Orvane.Face

// The centre card of both layouts: the dial with its side panels, the digital time, the two dates, the
// next prayer, the capsules and the prayer row.
RoundedBox {
    id: card
    property ClockFaceController face
    property bool phone: false
    property real clockSize: 264.96
    property real flankW: 116
    property Component sunSidePanel: null
    property Component moonSidePanel: null
    property Component skyDetailPanel: null

    readonly property real pad: phone ? 14 : 18
    readonly property real sunSize: face.sunPanelSize(flankW)
    readonly property real moonSize: face.moonPanelSize(flankW)

    implicitHeight: column.implicitHeight + 2 * pad
    color: Theme.panel
    radius: phone ? 16 : 20
    borderColor: Theme.line
    borderWidth: 1

    Column {
        id: column
        x: card.pad
        y: card.pad
        width: card.width - 2 * card.pad
        spacing: card.phone ? 8 : 10

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: card.phone ? 8 : 12
            Loader {
                active: card.flankW > 0 && card.face.sunInClock
                visible: active
                width: card.flankW
                sourceComponent: card.sunSidePanel !== null ? card.sunSidePanel : sunPicture
            }
            AnalogClockView {
                objectName: "dial"
                width: card.clockSize
                height: card.clockSize
                tzOffsetHours: card.face.tzOffsetHours
                logoUrl: card.face.logoUrl
            }
            Loader {
                active: card.flankW > 0 && card.face.moonInClock
                visible: active
                width: card.flankW
                sourceComponent: card.moonSidePanel !== null ? card.moonSidePanel : moonPicture
            }
        }

        Loader {
            active: card.phone && card.face.phoneShowsSkyDetail && card.skyDetailPanel !== null
            visible: active
            width: parent.width
            sourceComponent: card.skyDetailPanel
        }

        ThemeText {
            objectName: "digitalTime"
            anchors.horizontalCenter: parent.horizontalCenter
            text: card.face.digitalTime
            font.pixelSize: card.phone ? 34 : 40
            semibold: true
        }
        ThemeText {
            objectName: "gregorianText"
            anchors.horizontalCenter: parent.horizontalCenter
            text: card.face.gregorianText
            textStyle: card.phone ? "subheadline" : "headline"
            semibold: card.phone
        }
        ThemeText {
            objectName: "hijriText"
            anchors.horizontalCenter: parent.horizontalCenter
            text: card.face.hijriText
            textStyle: "caption"
            semibold: true
            color: Theme.gold
        }
        ThemeText {
            objectName: "nextPrayerLine"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: card.face.nextPrayerLine
            textStyle: "subheadline"
            color: Theme.textMuted
        }
        ActionCapsules {
            width: parent.width
            face: card.face
            phone: card.phone
        }
        PrayerRow {
            width: parent.width
            cells: card.face.prayerCells
        }
    }

    Component {
        id: sunPicture
        Item {
            implicitHeight: card.sunSize
            SymbolIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                name: "sun.max.fill"
                size: card.sunSize * 0.8
                color: Theme.gold
            }
        }
    }
    Component {
        id: moonPicture
        Item {
            implicitHeight: card.moonSize
            MoonPhaseView {
                anchors.horizontalCenter: parent.horizontalCenter
                width: card.moonSize
                height: card.moonSize
                illumination: card.face.moon.illumination
                waxing: card.face.moon.waxing
                tint: MoonColors.tint(card.face.moon.nameKey)
            }
        }
    }
}
