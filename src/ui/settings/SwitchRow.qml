import QtQuick
import QtQuick.Controls
import Orvane.Common

// A labelled on/off switch showing `value`; Return and a screen reader's press or toggle flip it as Space
// and a click do. `toggledByUser` carries the new state, so the setting is written only by the user's own
// change, and the switch follows the value again when the owner refuses it.
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
    Accessible.checkable: true
    Accessible.onPressAction: ButtonPress.click(row)
    Accessible.onToggleAction: ButtonPress.click(row)
    contentItem: ThemeText {
        text: row.text
        leftPadding: row.indicator.width + row.spacing
        verticalAlignment: Text.AlignVCenter
        wrapMode: Text.WordWrap
    }
    onToggled: {
        toggledByUser(checked)
        // What shows is what is stored, also when the owner kept the old value.
        if (checked !== value) checked = value
    }
    Keys.onReturnPressed: ButtonPress.click(row)
    Keys.onEnterPressed: ButtonPress.click(row)
    FocusRing { target: row; targetRadius: 4 }
}
