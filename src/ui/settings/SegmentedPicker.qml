import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Settings

// A labelled row of segments over {text, value} rows; the segment of the stored value is highlighted, and
// none is when the value matches no row.
RowLayout {
    id: picker
    property string label
    property var rows: []
    property var value
    signal picked(var value)
    width: parent ? parent.width : implicitWidth
    spacing: 12

    ThemeText {
        text: picker.label
        Layout.fillWidth: true
        elide: Text.ElideRight
    }
    Row {
        spacing: 2
        Accessible.role: Accessible.Grouping
        Accessible.name: picker.label
        Repeater {
            model: picker.rows
            ActionButton {
                required property var modelData
                required property int index
                objectName: picker.objectName.length ? picker.objectName + "_" + index : ""
                readonly property bool selected: SettingsChoices.indexOf(picker.rows, picker.value) === index
                text: modelData.text
                highlighted: selected
                Accessible.role: Accessible.RadioButton
                Accessible.checkable: true
                Accessible.checked: selected
                Accessible.name: picker.label + ": " + modelData.text
                onClicked: picker.picked(modelData.value)
            }
        }
    }
}
