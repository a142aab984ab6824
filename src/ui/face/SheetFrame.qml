import QtQuick
import Orvane.Common
import Orvane.Face

// A sheet over the face: a dimmed window and a centred card of at least the given size, taller when its
// view asks for more, as far as the window allows. Closing it clears the flag that opened it.
Item {
    id: sheet
    property bool open: false
    property real minimumWidth: 720
    property real minimumHeight: 640
    property Component content: null
    property string title
    signal closed()

    visible: open
    z: 1000

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
            ThemeText {
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.margins: 16
                text: "Done"
                textStyle: "body"
                semibold: true
                color: Theme.gold
                TapHandler { onTapped: sheet.closed() }
            }
        }
    }
}
