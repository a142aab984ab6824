import QtQuick
import Orvane.Common
import Orvane.Face

// A humidity percentage behind a blue drop.
Row {
    id: badge
    property int pct
    property font font: Qt.font({ family: Theme.fontFamily, pixelSize: Theme.caption })

    spacing: 3
    // Read as the drop and the figure say it.
    Accessible.role: Accessible.StaticText
    Accessible.name: "Humidity " + figure.text
    SymbolIcon {
        anchors.verticalCenter: parent.verticalCenter
        name: "drop.fill"
        size: 9
        color: Qt.rgba(0.45, 0.78, 0.95, 1)
    }
    Text {
        id: figure
        objectName: "humidityFigure"
        anchors.verticalCenter: parent.verticalCenter
        text: FaceFormat.percent(badge.pct)
        font: badge.font
        color: Theme.textMuted
        textFormat: Text.PlainText
    }
}
