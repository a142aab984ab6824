import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Quran

// The bar under the text in the window: the browse button with the current place, the text-size stepper,
// Previous and Next (also on the arrow keys), and the keyboard tip.
Rectangle {
    id: bar
    required property QuranReaderController reader
    property bool active: true

    color: Qt.rgba(Theme.panel.r, Theme.panel.g, Theme.panel.b, 0.96)
    implicitHeight: column.implicitHeight + 20

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.leftMargin: 14
        anchors.rightMargin: 14
        anchors.topMargin: 10
        anchors.bottomMargin: 10
        spacing: 10

        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            QuranButton {
                objectName: "browseButton"
                Layout.preferredWidth: implicitWidth
                Layout.maximumWidth: bar.width * 0.6
                text: bar.reader.browseButtonTitle
                symbol: "list.bullet.rectangle"
                textStyle: "caption"
                onClicked: bar.reader.showBrowse = true
            }
            Item { Layout.fillWidth: true }
            QuranButton {
                objectName: "smallerButton"
                text: "Smaller text"
                iconOnly: true
                symbol: "textformat.size.smaller"
                symbolSize: 16
                enabled: bar.reader.canMakeSmaller
                onClicked: bar.reader.stepTextSize(-1)
            }
            ThemeText {
                objectName: "sizeLabel"
                Layout.minimumWidth: 48
                horizontalAlignment: Text.AlignHCenter
                text: bar.reader.sizeLabel
                textStyle: "caption"
                semibold: true
                color: Theme.gold
            }
            QuranButton {
                objectName: "largerButton"
                text: "Larger text"
                iconOnly: true
                symbol: "textformat.size.larger"
                symbolSize: 16
                enabled: bar.reader.canMakeLarger
                onClicked: bar.reader.stepTextSize(1)
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 16
            QuranButton {
                objectName: "previousButton"
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                text: "Previous"
                symbol: "chevron.left"
                prominent: true
                tint: Theme.panelHi
                enabled: bar.reader.canGoPrev
                onClicked: bar.reader.goPrev()
            }
            QuranButton {
                objectName: "nextButton"
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                text: "Next"
                symbol: "chevron.right"
                prominent: true
                enabled: bar.reader.canGoNext
                onClicked: bar.reader.goNext()
            }
        }

        ThemeText {
            Layout.alignment: Qt.AlignHCenter
            text: "Tip: use ← → arrow keys on the keyboard"
            textStyle: "caption2"
            color: Theme.textMuted
        }
    }

    Shortcut {
        sequence: "Left"
        enabled: bar.active && bar.reader.canGoPrev && !bar.reader.showBrowse
        onActivated: bar.reader.goPrev()
    }
    Shortcut {
        sequence: "Right"
        enabled: bar.active && bar.reader.canGoNext && !bar.reader.showBrowse
        onActivated: bar.reader.goNext()
    }
}
