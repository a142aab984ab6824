import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Settings

// The settings window: the title with "Done", the six pane tabs and the pane on show. Every control writes
// its setting as it changes; "Done" and Escape ask for the clock to be rebuilt and close the window.
Pane {
    id: view
    objectName: "settingsView"
    required property SettingsController controller
    // Supplied by the presenter: the blessings credit line and the built-in learn-the-call link.
    property Component blessingsNote: null
    property string learnAdhanBuiltInURL

    implicitWidth: 640
    implicitHeight: 520
    padding: 8
    focusPolicy: Qt.ClickFocus

    palette.window: Theme.bg
    palette.windowText: "white"
    palette.base: Theme.panelHi
    palette.alternateBase: Theme.panel
    palette.text: "white"
    palette.button: Theme.panelHi
    palette.buttonText: "white"
    palette.brightText: "white"
    palette.highlight: Theme.gold
    palette.highlightedText: Theme.bg
    palette.light: Theme.panelHi
    palette.midlight: Theme.panelHi
    palette.mid: Theme.textMuted
    palette.dark: Theme.gold
    palette.shadow: "black"
    palette.placeholderText: Theme.textMuted
    palette.toolTipBase: Theme.panel
    palette.toolTipText: "white"
    background: Rectangle { color: Theme.bg }

    Keys.onEscapePressed: view.controller.done()
    Component.onCompleted: doneButton.forceActiveFocus()

    ColumnLayout {
        anchors.fill: parent
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            Item { Layout.preferredWidth: doneButton.implicitWidth }
            ThemeText {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: "Settings"
                textStyle: "headline"
                semibold: true
                Accessible.role: Accessible.TitleBar
                Accessible.name: text
            }
            ActionButton {
                id: doneButton
                objectName: "doneButton"
                text: "Done"
                highlighted: true
                onClicked: view.controller.done()
            }
        }

        ThemeText {
            objectName: "storeFailure"
            readonly property string failure: view.controller.settings.storeFailure
            visible: failure.length > 0
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            textStyle: "caption"
            color: "#ff5c5c"
            text: failure
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }

        PaneTabs {
            Layout.alignment: Qt.AlignHCenter
            controller: view.controller
        }

        StackLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: view.controller.paneIndex

            GeneralPane { controller: view.controller }
            AdhanPane {
                controller: view.controller
                blessingsNote: view.blessingsNote
                learnAdhanBuiltInURL: view.learnAdhanBuiltInURL
            }
            AlertsPane { controller: view.controller }
            LocationPane { controller: view.controller }
            ApiPane { controller: view.controller }
            AccountPane { controller: view.controller }
        }
    }
}
