import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Quran

// A reader button: a symbol and a label on a tinted rounded ground. Prominent fills the ground with the tint,
// plain leaves it clear; the accessible name is the text also when only the symbol shows.
Button {
    id: control
    property string symbol
    property color tint: Theme.gold
    property bool prominent: false
    property bool plain: false
    property bool iconOnly: false
    property bool capsule: false
    property real symbolSize: 14
    property string textStyle: "body"
    property bool semibold: true
    property bool fillWidth: false
    property color foreground: prominent ? (Qt.colorEqual(tint, Theme.gold) ? Theme.bg : "white") : tint
    property color ground: plain ? "transparent"
                                 : prominent ? tint : Qt.rgba(tint.r, tint.g, tint.b, 0.25)

    Accessible.name: text
    Accessible.onPressAction: ButtonPress.click(control)
    Keys.onReturnPressed: ButtonPress.click(control)
    // A click leaves the keyboard with the reader; Tab still reaches every button.
    focusPolicy: Qt.TabFocus
    padding: plain ? 2 : 8
    leftPadding: plain ? 2 : (capsule ? 18 : 14)
    rightPadding: leftPadding
    topPadding: capsule ? 12 : padding
    bottomPadding: topPadding
    opacity: enabled ? 1 : 0.4

    contentItem: Item {
        readonly property real iconSpace: control.symbol.length > 0 ? control.symbolSize + (control.iconOnly ? 0 : 6) : 0
        // The label's natural width, which an elided label no longer reports.
        implicitWidth: iconSpace + (control.iconOnly ? 0 : Math.ceil(natural.advanceWidth))
        implicitHeight: Math.max(control.symbol.length > 0 ? control.symbolSize : 0, label.implicitHeight)
        // Centred while there is room; a narrow button elides the label instead.
        readonly property real startX: Math.max(0, (width - implicitWidth) / 2)
        QuranIcon {
            x: parent.startX
            anchors.verticalCenter: parent.verticalCenter
            visible: control.symbol.length > 0
            name: control.symbol
            size: control.symbolSize
            color: control.foreground
        }
        TextMetrics {
            id: natural
            font: label.font
            text: control.text
        }
        ThemeText {
            id: label
            x: parent.startX + parent.iconSpace
            width: Math.min(Math.ceil(natural.advanceWidth), parent.width - parent.iconSpace)
            anchors.verticalCenter: parent.verticalCenter
            visible: !control.iconOnly
            text: control.text
            textStyle: control.textStyle
            semibold: control.semibold
            color: control.foreground
            elide: Text.ElideRight
        }
    }
    background: Rectangle {
        implicitHeight: 30
        radius: control.capsule ? height / 2 : 8
        color: control.ground
    }
    FocusRing { target: control; targetRadius: control.capsule ? control.height / 2 : 8 }
}
