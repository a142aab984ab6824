import QtQuick
import QtQuick.Controls
import Orvane.Common

// A push button that the keyboard reaches with Tab and presses with Return or Enter as well as Space, and a
// screen reader presses as a click does; its accessible name is its text unless told otherwise. Its focus
// ring lies outside it, so a highlighted (filled) button shows it too.
Button {
    id: button
    focusPolicy: Qt.StrongFocus
    Accessible.name: text
    Accessible.onPressAction: ButtonPress.click(button)
    Keys.onReturnPressed: event => { if (enabled) clicked(); event.accepted = true }
    Keys.onEnterPressed: event => { if (enabled) clicked(); event.accepted = true }
    FocusRing { target: button; targetRadius: 0 }
}
