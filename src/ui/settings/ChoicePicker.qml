import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Settings

// A labelled pop-up picker over {text, value} rows. A stored value that matches no row shows no row and is
// never written back; only the user's pick writes.
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
    ComboBox {
        id: box
        objectName: picker.objectName.length ? picker.objectName + "Box" : ""
        Layout.preferredWidth: 280
        model: picker.rows
        textRole: "text"
        currentIndex: SettingsChoices.indexOf(picker.rows, picker.value)
        displayText: currentIndex < 0 ? "" : currentText
        focusPolicy: Qt.StrongFocus
        Accessible.name: picker.label
        Accessible.onPressAction: ButtonPress.click(box)
        onActivated: index => picker.picked(picker.rows[index].value)
        // The row the arrow keys are on is the one a screen reader reads: it reports itself focused and
        // selected while highlighted, as the keyboard's focus stays on the box.
        delegate: ItemDelegate {
            id: row
            required property var modelData
            required property int index
            width: ListView.view ? ListView.view.width : implicitWidth
            text: modelData.text
            palette.text: box.palette.text
            palette.highlightedText: box.palette.highlightedText
            font.weight: box.currentIndex === index ? Font.DemiBold : Font.Normal
            highlighted: box.highlightedIndex === index
            hoverEnabled: box.hoverEnabled
            Accessible.name: text
            Accessible.selected: highlighted
            Accessible.focused: highlighted
            Accessible.onPressAction: ButtonPress.click(row)
        }
        // Return opens the list as Space does; with the list open it picks the highlighted row. The release
        // of the key that opened the list is kept from the box, which would otherwise close it again.
        property bool openedByKey: false
        Keys.onPressed: event => {
            if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && !popup.visible) {
                openedByKey = true
                popup.open()
                event.accepted = true
            }
        }
        Keys.onReleased: event => {
            if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && openedByKey) {
                openedByKey = false
                event.accepted = true
            }
        }
    }
}
