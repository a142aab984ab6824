import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Quran

// The controls over the bottom of the text in reading full screen: the arrow-key hint, round Previous and
// Next, "Exit full screen" and "Done" (also on Escape when the reader itself does not take the key).
Item {
    id: controls
    required property QuranReaderController reader
    property bool active: true

    implicitHeight: column.implicitHeight + 40

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: "transparent" }
            GradientStop { position: 1; color: Qt.rgba(Theme.bg.r, Theme.bg.g, Theme.bg.b, 0.92) }
        }
    }

    Column {
        id: column
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 28
        spacing: 8

        ThemeText {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "← → arrow keys to browse ayahs"
            textStyle: "caption"
            color: Theme.textMuted
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 20
            QuranButton {
                objectName: "fullscreenPrevious"
                anchors.verticalCenter: parent.verticalCenter
                text: "Previous ayah"
                iconOnly: true
                plain: true
                symbol: "chevron.left.circle.fill"
                symbolSize: 44
                enabled: controls.reader.canGoPrev
                onClicked: controls.reader.goPrev()
            }
            QuranButton {
                objectName: "exitFullscreen"
                anchors.verticalCenter: parent.verticalCenter
                text: "Exit full screen"
                textStyle: "headline"
                capsule: true
                tint: Theme.gold
                onClicked: controls.reader.exitReadingFullScreen()
            }
            QuranButton {
                objectName: "fullscreenDone"
                anchors.verticalCenter: parent.verticalCenter
                text: "Done"
                textStyle: "headline"
                capsule: true
                tint: Theme.gold
                ground: Qt.rgba(Theme.panelHi.r, Theme.panelHi.g, Theme.panelHi.b, 0.9)
                onClicked: controls.reader.closeReader()
            }
            QuranButton {
                objectName: "fullscreenNext"
                anchors.verticalCenter: parent.verticalCenter
                text: "Next ayah"
                iconOnly: true
                plain: true
                symbol: "chevron.right.circle.fill"
                symbolSize: 44
                enabled: controls.reader.canGoNext
                onClicked: controls.reader.goNext()
            }
        }
    }

    Shortcut {
        sequence: "Left"
        enabled: controls.active && controls.reader.canGoPrev && !controls.reader.showBrowse
        onActivated: controls.reader.goPrev()
    }
    Shortcut {
        sequence: "Right"
        enabled: controls.active && controls.reader.canGoNext && !controls.reader.showBrowse
        onActivated: controls.reader.goNext()
    }
    Shortcut {
        sequence: StandardKey.Cancel
        enabled: controls.active && !controls.reader.showBrowse
        onActivated: controls.reader.closeReader()
    }
}
