import QtQuick
import QtQuick.Templates as T
import Orvane.Common

// A button whose look its owner draws (as children) that keyboard and screen-reader users reach like any
// other: Tab stops on it, Return, Enter and Space press it, a gold ring shows keyboard focus, and `text` is
// its accessible name, also when nothing shows the text.
T.AbstractButton {
    id: button

    property real focusRadius: height / 2

    focusPolicy: Qt.StrongFocus
    padding: 0
    background: null
    contentItem: null

    Accessible.role: Accessible.Button
    Accessible.name: text
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()
    // Qt Quick Controls leave a screen reader's press unanswered.
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
