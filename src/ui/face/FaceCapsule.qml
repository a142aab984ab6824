import QtQuick
import Orvane.Common
import Orvane.Face

// One gold action capsule: symbol and title on one line, shrinking before it is cut. A button that the
// keyboard and screen readers reach, named by its title.
FocusButton {
    id: capsule
    property string title
    property string symbol
    property bool phone: false
    signal activated()

    readonly property real textSize: Theme.textSize(phone ? "caption" : "callout")
    readonly property real hPad: phone ? 6 : 10
    readonly property real vPad: phone ? 9 : 11

    implicitHeight: textSize * 1.4 + 2 * vPad
    implicitWidth: content.implicitWidth + 2 * hPad
    text: title
    onClicked: activated()

    RoundedBox {
        anchors.fill: parent
        radius: height / 2
        color: Qt.rgba(Theme.gold.r, Theme.gold.g, Theme.gold.b, capsule.down ? 0.32 : 0.2)
        borderColor: Qt.rgba(Theme.gold.r, Theme.gold.g, Theme.gold.b, 0.5)
        borderWidth: 1
    }

    Row {
        id: content
        anchors.centerIn: parent
        spacing: capsule.phone ? 4 : 6
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: capsule.symbol
            size: label.font.pixelSize
            color: Theme.gold
        }
        ThemeText {
            id: label
            Accessible.ignored: true
            anchors.verticalCenter: parent.verticalCenter
            // Measured at the full size, so the fitted text never feeds back into its own width; the laid
            // out line can come out a pixel wider than the measured advance, which alone must not shrink it.
            width: Math.min(Math.ceil(natural.advanceWidth) + 2,
                            capsule.width - 2 * capsule.hPad - parent.spacing - capsule.textSize)
            verticalAlignment: Text.AlignVCenter
            text: capsule.title
            font.pixelSize: capsule.textSize
            semibold: true
            color: Theme.gold
            maximumLineCount: 1
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.max(1, Math.floor(capsule.textSize * (capsule.phone ? 0.42 : 0.7)))
            elide: Text.ElideRight
        }
    }

    TextMetrics {
        id: natural
        font.family: Theme.fontFamily
        font.pixelSize: capsule.textSize
        font.weight: Font.DemiBold
        text: capsule.title
    }
}
