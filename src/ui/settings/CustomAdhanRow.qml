import QtQuick
import QtQuick.Layouts
import Orvane.Common
import Orvane.Settings

// One user recording: its name and whether the user's file or the built-in one plays, with "Clear" while a
// file is installed and "Choose…" to install one.
RowLayout {
    id: row
    property string kind
    property string label
    property bool custom: false
    signal choose()
    signal clear()
    width: parent ? parent.width : implicitWidth
    objectName: "customAdhan_" + kind

    Column {
        Layout.fillWidth: true
        spacing: 2
        ThemeText { text: row.label }
        ThemeText {
            objectName: "customAdhanState_" + row.kind
            text: row.custom ? "Using your MP3" : "Bundled default"
            textStyle: "caption2"
            color: Theme.textMuted
        }
    }
    ActionButton {
        visible: row.custom
        text: "Clear"
        Accessible.name: "Clear " + row.label
        onClicked: row.clear()
    }
    ActionButton {
        text: "Choose…"
        Accessible.name: "Choose " + row.label
        onClicked: row.choose()
    }
}
