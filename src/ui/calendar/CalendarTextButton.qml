import QtQuick
import QtQuick.Controls
import Orvane.Common

// A toolbar word ("Done", "Today") in gold semibold, with a ring while the keyboard is on it.
Button {
    id: button
    padding: 6
    horizontalPadding: 10
    focusPolicy: Qt.StrongFocus
    Accessible.name: text
    Accessible.onPressAction: ButtonPress.click(button)

    contentItem: ThemeText {
        Accessible.ignored: true
        text: button.text
        semibold: true
        color: Theme.gold
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: 8
        color: button.down ? Theme.panelHi : "transparent"
        border.color: button.visualFocus ? "white" : "transparent"
        border.width: 1.5
    }
}
