import QtQuick
import QtQuick.Templates as T

// The keyboard focus ring of a control: a white line a few points outside it, so it shows on a gold or red
// fill as well as on the dark ground. It shows whenever the keyboard acts on the control, whether Tab
// brought the focus or the view put it there (Stop as the call starts, Done as the settings open, the
// focus kept when the window comes back); only the focus a mouse press gave shows none.
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
    visible: target.activeFocus && target.focusReason !== Qt.MouseFocusReason
}
