import QtQuick
import QtQuick.Templates as T
import Orvane.Common

// The keyboard focus ring of a control: a white line a few points outside it, so it shows on a gold or red
// fill as well as on the dark ground. As on the desktop it shows while the keyboard is in use, wherever the
// focus went (by Tab, an arrow, or a view that put it there: Stop as the call starts, Done as a sheet opens
// by key, the opener as it closes); after a click or a touch it shows nowhere until a key is pressed.
Rectangle {
    required property T.Control target
    property real targetRadius: 8

    z: 100
    anchors.fill: parent
    anchors.margins: -4
    radius: targetRadius + 4
    color: "transparent"
    border.width: 2
    border.color: "white"
    visible: target.activeFocus && InputMode.keyboard
}
