import QtQuick
import QtQuick.Templates as T
import Orvane.Common

// A button whose look its owner draws (as children) that keyboard and screen-reader users reach like any
// other: Tab stops on it, Return, Enter, Space and a screen reader's press press it, a ring shows keyboard
// focus, and `text` is its accessible name, also when nothing shows the text.
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
    Accessible.onPressAction: ButtonPress.click(button)

    FocusRing {
        objectName: "focusRing"
        target: button
        targetRadius: button.focusRadius
    }
}
