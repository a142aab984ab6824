import QtQuick
import Orvane.Common

// Shown while no bundle exists yet: a spinner while the first load runs, or the error text with a way into
// the location settings when no place is known.
Item {
    id: loading
    property string errorText
    signal openSettings()
    // Gives the keyboard to the screen's action, when it has one.
    function focusAction() { if (openButton.visible) openButton.forceActiveFocus() }

    Column {
        anchors.centerIn: parent
        width: Math.min(parent.width - 48, 520)
        spacing: 16

        Spinner {
            anchors.horizontalCenter: parent.horizontalCenter
            visible: loading.visible && loading.errorText.length === 0
        }
        ThemeText {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            color: loading.errorText.length ? Theme.textMuted : Theme.gold
            text: loading.errorText.length ? loading.errorText : "Preparing your clock…"
        }
        FocusButton {
            id: openButton
            objectName: "openSettingsButton"
            anchors.horizontalCenter: parent.horizontalCenter
            width: openText.implicitWidth + 32
            height: openText.implicitHeight + 16
            focusRadius: 8
            visible: loading.errorText.length > 0
            text: "Open Settings"
            onClicked: loading.openSettings()
            // The one thing to do on this screen takes the keyboard at once.
            onVisibleChanged: if (visible) forceActiveFocus()
            RoundedBox {
                anchors.fill: parent
                radius: 8
                color: openButton.down ? Theme.line : Theme.panel
                borderColor: Theme.line
                borderWidth: 1
            }
            ThemeText {
                id: openText
                anchors.centerIn: parent
                Accessible.ignored: true
                text: openButton.text
                semibold: true
                color: Theme.gold
            }
        }
    }
}
