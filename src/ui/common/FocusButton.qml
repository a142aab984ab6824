import QtQuick
import Orvane.Common

// A button whose look its owner draws (as children) that keyboard and screen-reader users reach like any
// other: Tab stops on it, Return, Enter and Space press it, a gold ring shows keyboard focus, and `text` is
// its accessible name, also when nothing shows the text.
Pressable {
    id: button

    property real focusRadius: height / 2

    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.focusable: true
    Accessible.onPressAction: if (button.enabled) button.clicked()

    Rectangle {
        objectName: "focusRing"
        z: 100
        anchors.fill: parent
        anchors.margins: -3
        visible: button.visualFocus
        radius: button.focusRadius + 3
        color: "transparent"
        border.width: 2
        border.color: Theme.gold
    }
}
