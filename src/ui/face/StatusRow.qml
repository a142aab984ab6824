import QtQuick
import Orvane.Common
import Orvane.Face

// The feed pills near the foot of the face; `pills` is a list of {text, ok}. Compact rows scroll sideways.
Item {
    id: status
    property var pills: []
    property bool compact: false

    implicitWidth: pillRow.implicitWidth + (compact ? 4 : 0)
    implicitHeight: pillRow.implicitHeight

    Flickable {
        anchors.fill: parent
        contentWidth: pillRow.implicitWidth + (status.compact ? 4 : 0)
        contentHeight: height
        interactive: status.compact && contentWidth > width
        flickableDirection: Flickable.HorizontalFlick
        boundsBehavior: Flickable.StopAtBounds
        clip: status.compact

        Row {
            id: pillRow
            x: status.compact ? 2 : 0
            spacing: status.compact ? 8 : 10
            Repeater {
                model: status.pills
                RoundedBox {
                    required property var modelData
                    objectName: "pill"
                    width: label.implicitWidth + 20
                    height: label.implicitHeight + 10
                    radius: height / 2
                    color: Qt.rgba(Theme.green.r, Theme.green.g, Theme.green.b, modelData.ok ? 0.15 : 0.05)
                    ThemeText {
                        id: label
                        anchors.centerIn: parent
                        text: modelData.text
                        textStyle: "caption2"
                        color: modelData.ok ? Theme.green : Theme.textMuted
                    }
                }
            }
        }
    }
}
