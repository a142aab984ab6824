import QtQuick
import QtQuick.Controls

// A push button that the keyboard reaches with Tab and presses with Return or Enter as well as Space; its
// accessible name is its text unless told otherwise.
Button {
    id: button
    focusPolicy: Qt.StrongFocus
    Accessible.name: text
    Keys.onReturnPressed: event => { if (enabled) clicked(); event.accepted = true }
    Keys.onEnterPressed: event => { if (enabled) clicked(); event.accepted = true }
}
