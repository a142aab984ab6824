import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common

// A labelled one-line text field. The text the user types is reported as it changes; the field follows the
// stored value except while the user is typing in it.
RowLayout {
    id: row
    property string label
    property string value
    property string placeholder
    property bool monospace: false
    property bool labelVisible: true
    readonly property alias field: field
    signal edited(string text)
    signal finished()
    width: parent ? parent.width : implicitWidth
    spacing: 12

    ThemeText {
        visible: row.labelVisible
        text: row.label
        Layout.preferredWidth: implicitWidth
    }
    TextField {
        id: field
        objectName: row.objectName.length ? row.objectName + "Field" : ""
        Layout.fillWidth: true
        placeholderText: row.placeholder
        font.family: row.monospace ? "DejaVu Sans Mono" : Theme.fontFamily
        Accessible.name: row.label
        selectByMouse: true
        Binding on text {
            value: row.value
            when: !field.activeFocus
            restoreMode: Binding.RestoreNone
        }
        onTextEdited: row.edited(text)
        onEditingFinished: row.finished()
    }
}
