import QtQuick
import Orvane.Common
import Orvane.Face

// A sheet over the face: a dimmed window and a centred card of at least the given size, taller when its
// view asks for more, as far as the window allows. Closing it clears the flag that opened it. To assistive
// technology it is a dialog named by its title, and the control that opened it has the focus back after.
FocusScope {
    id: sheet
    property bool open: false
    property real minimumWidth: 720
    property real minimumHeight: 640
    property Component content: null
    property string title
    signal closed()

    visible: open
    z: 1000
    Accessible.role: Accessible.Dialog
    Accessible.name: title
    // A closed sheet is no dialog for a screen reader to find.
    Accessible.ignored: !open
    // An open sheet holds the keyboard: Tab moves among its own controls and Escape closes it.
    onOpenChanged: {
        if (open) sheet.forceActiveFocus(Qt.OtherFocusReason)
        else opener.giveBack()
    }
    Keys.onEscapePressed: sheet.closed()

    FocusReturn { id: opener; owner: sheet; watching: !sheet.open }

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.55)
        TapHandler {}
    }

    RoundedBox {
        objectName: "sheetCard"
        anchors.centerIn: parent
        width: Math.min(sheet.width, sheet.minimumWidth)
        height: Math.min(sheet.height, Math.max(sheet.minimumHeight, view.item ? view.item.implicitHeight : 0))
        color: Theme.bg
        radius: 12
        borderColor: Theme.line
        borderWidth: 1
        clip: true

        Loader {
            id: view
            anchors.fill: parent
            focus: true
            active: sheet.open
            sourceComponent: sheet.content !== null ? sheet.content : placeholder
        }
    }

    Component {
        id: placeholder
        Item {
            ThemeText {
                anchors.centerIn: parent
                text: sheet.title
                textStyle: "title3"
                color: Theme.textMuted
            }
            FocusButton {
                objectName: "sheetDone"
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.margins: 10
                width: doneText.implicitWidth + 12
                height: doneText.implicitHeight + 12
                focusRadius: 6
                text: "Done"
                onClicked: sheet.closed()
                ThemeText {
                    id: doneText
                    anchors.centerIn: parent
                    Accessible.ignored: true
                    text: "Done"
                    textStyle: "body"
                    semibold: true
                    color: Theme.gold
                }
            }
        }
    }
}
