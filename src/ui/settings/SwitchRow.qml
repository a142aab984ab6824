import QtQuick
import QtQuick.Controls
import Orvane.Common

// A labelled on/off switch showing `value`; Return toggles it as Space does. `toggledByUser` carries the
// new state, so the setting is written only by the user's own change, and the switch follows the value
// again when the owner refuses it.
Switch {
    id: row
    property bool value
    signal toggledByUser(bool on)
    Binding on checked {
        value: row.value
        restoreMode: Binding.RestoreNone
    }
    width: parent ? parent.width : implicitWidth
    focusPolicy: Qt.StrongFocus
    Accessible.name: text
    contentItem: ThemeText {
        text: row.text
        leftPadding: row.indicator.width + row.spacing
        verticalAlignment: Text.AlignVCenter
        wrapMode: Text.WordWrap
    }
    onToggled: toggledByUser(checked)
    Keys.onReturnPressed: { toggle(); toggledByUser(checked) }
    Keys.onEnterPressed: { toggle(); toggledByUser(checked) }
}
