import QtQuick
import QtQuick.Controls
import Orvane.Common

// A link in caption size that opens its page in the default browser, by mouse or keyboard.
ActionButton {
    id: link
    property string url
    flat: true
    padding: 2
    Accessible.role: Accessible.Link
    background: Rectangle {
        color: "transparent"
        border.color: link.visualFocus ? Theme.gold : "transparent"
        radius: 4
    }
    contentItem: ThemeText {
        text: link.text
        textStyle: "caption"
        color: Theme.gold
        font.underline: link.hovered
    }
    onClicked: Qt.openUrlExternally(url)
}
