import QtQuick
import Orvane.Common
import Orvane.Panels

// A dark disc with a red needle and an "N" turned by `turn` degrees.
Item {
    property real turn: 0
    width: 34
    height: 34
    Rectangle { anchors.fill: parent; radius: 17; color: Qt.rgba(0, 0, 0, 0.55) }
    PanelIcon { anchors.centerIn: parent; name: "location.north.fill"; color: "red"; size: 14; rotation: turn }
    Item {
        anchors.fill: parent
        rotation: turn
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            y: 17 - 12 - height / 2
            text: "N"
            font.family: Theme.fontFamily; font.pixelSize: 8; font.bold: true
            color: "white"
        }
    }
}
