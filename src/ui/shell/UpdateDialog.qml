import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Shell

// Asks once whether to install a newer build that has been downloaded and verified, or tells how this
// installation is updated, or that an install failed; release notes are shown as plain text, whatever
// markup the manifest carries.
Item {
    id: dialog
    required property UpdatePrompt prompt

    visible: prompt.visible
    z: 3000

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.55)
        TapHandler {}
    }

    RoundedBox {
        objectName: "updateCard"
        anchors.centerIn: parent
        width: Math.min(parent.width - 32, 520)
        height: Math.min(parent.height - 32, content.implicitHeight + 48)
        color: Theme.panel
        radius: 12
        borderColor: Theme.line
        borderWidth: 1

        Column {
            id: content
            anchors.fill: parent
            anchors.margins: 24
            spacing: 14

            ThemeText {
                width: parent.width
                textStyle: "title3"
                semibold: true
                wrapMode: Text.WordWrap
                text: dialog.prompt.title
            }
            ThemeText {
                objectName: "updateMessage"
                width: parent.width
                visible: text.length > 0
                wrapMode: Text.WordWrap
                text: dialog.prompt.message
            }
            ScrollView {
                width: parent.width
                height: Math.min(notes.implicitHeight, 260)
                visible: dialog.prompt.releaseNotes.length > 0
                clip: true
                ThemeText {
                    id: notes
                    objectName: "releaseNotes"
                    width: content.width
                    wrapMode: Text.WordWrap
                    color: Theme.textMuted
                    text: dialog.prompt.releaseNotes
                }
            }
            Row {
                anchors.right: parent.right
                spacing: 12
                ActionButton {
                    objectName: "dismiss"
                    visible: !dialog.prompt.installable
                    text: "OK"
                    onClicked: dialog.prompt.decline()
                }
                ActionButton {
                    objectName: "notNow"
                    visible: dialog.prompt.installable
                    text: "Not Now"
                    onClicked: dialog.prompt.decline()
                }
                ActionButton {
                    objectName: "installAndRestart"
                    visible: dialog.prompt.installable
                    text: "Install and Restart"
                    highlighted: true
                    onClicked: dialog.prompt.install()
                }
            }
        }
    }
}
