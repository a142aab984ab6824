import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Settings

// A labelled row of segments over {text, value} rows; the segment of the stored value is highlighted and
// checked, and none is when the value matches no row. As a radio group on the desktop, the row is one Tab
// stop (the chosen segment, else the first) and the arrow keys choose the next or previous segment.
RowLayout {
    id: picker
    property string label
    property var rows: []
    property var value
    signal picked(var value)
    width: parent ? parent.width : implicitWidth
    spacing: 12

    function arrowFrom(index, step) {
        const next = (index + step + picker.rows.length) % picker.rows.length
        const segment = segments.itemAt(next)
        // Qt keeps the control with the focus in the Tab chain whatever it is told, so the focus moves
        // before the choice.
        segment.forceActiveFocus(Qt.TabFocusReason)
        ButtonPress.click(segment)
    }

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
            id: segments
            model: picker.rows
            // A radio button drawn as a push button: a screen reader hears which segment is chosen.
            RadioButton {
                id: segment
                required property var modelData
                required property int index
                objectName: picker.objectName.length ? picker.objectName + "_" + index : ""
                readonly property bool selected: SettingsChoices.indexOf(picker.rows, picker.value) === index
                text: modelData.text
                checked: selected
                readonly property bool tabStop: selected
                                                || (index === 0 && SettingsChoices.indexOf(picker.rows, picker.value) < 0)
                focusPolicy: tabStop || activeFocus ? Qt.StrongFocus : Qt.ClickFocus
                padding: 6
                horizontalPadding: 8
                indicator: null
                Accessible.name: picker.label + ": " + modelData.text
                Accessible.checkable: true
                Accessible.onPressAction: ButtonPress.click(segment)
                Accessible.onToggleAction: ButtonPress.click(segment)
                Keys.onReturnPressed: ButtonPress.click(segment)
                Keys.onEnterPressed: ButtonPress.click(segment)
                Keys.onLeftPressed: picker.arrowFrom(index, -1)
                Keys.onUpPressed: picker.arrowFrom(index, -1)
                Keys.onRightPressed: picker.arrowFrom(index, 1)
                Keys.onDownPressed: picker.arrowFrom(index, 1)
                onClicked: picker.picked(modelData.value)
                contentItem: Text {
                    text: segment.text
                    font: segment.font
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    color: segment.checked ? segment.palette.brightText : segment.palette.buttonText
                }
                background: Rectangle {
                    implicitWidth: 100
                    implicitHeight: 40
                    color: Qt.darker(segment.checked ? segment.palette.dark : segment.palette.button,
                                     segment.down ? 1.3 : 1)
                }
                FocusRing { target: segment; targetRadius: 0 }
            }
        }
    }
}
