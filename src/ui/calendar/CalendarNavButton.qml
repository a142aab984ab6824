import QtQuick
import QtQuick.Controls
import Orvane.Common

// One arrow of the navigation row: a gold chevron on a small rounded tile, dimmed and inert when the step
// would leave the calendar's bounds. `text` is what a screen reader says.
Button {
    id: button
    property string symbol

    implicitWidth: 36
    implicitHeight: 36
    padding: 0
    focusPolicy: Qt.StrongFocus
    Accessible.name: text
    Accessible.onPressAction: ButtonPress.click(button)

    contentItem: Item {
        SymbolIcon {
            anchors.centerIn: parent
            width: 16
            height: 16
            name: button.symbol
            color: button.enabled ? Theme.gold : Qt.rgba(Theme.textMuted.r, Theme.textMuted.g, Theme.textMuted.b, 0.35)
        }
    }
    background: Rectangle {
        radius: 8
        color: Theme.panelHi
        border.color: button.visualFocus ? "white" : "transparent"
        border.width: 1.5
    }
}
