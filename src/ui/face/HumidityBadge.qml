import QtQuick
import Orvane.Common
import Orvane.Face

// A humidity percentage behind a blue drop.
Row {
    property int pct
    property font font: Qt.font({ family: Theme.fontFamily, pixelSize: Theme.caption })

    spacing: 3
    SymbolIcon {
        anchors.verticalCenter: parent.verticalCenter
        name: "drop.fill"
        size: 9
        color: Qt.rgba(0.45, 0.78, 0.95, 1)
    }
    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: FaceFormat.percent(parent.pct)
        font: parent.font
        color: Theme.textMuted
        textFormat: Text.PlainText
    }
}
