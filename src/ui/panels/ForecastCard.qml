import QtQuick
import Orvane.Common
import Orvane.Face
import Orvane.Panels

// One forecast day: weekday, symbol, temperatures, wind and humidity, chance of precipitation.
Rectangle {
    id: card
    property var day
    property real rowHeight: 72
    property bool compact: true

    height: rowHeight
    radius: 10
    // Read as one line by screen readers: the day, its temperatures, wind, humidity and rain chance.
    Accessible.role: Accessible.StaticText
    Accessible.name: [card.day.weekday, card.day.temperatures, card.day.wind,
                      card.day.humidity >= 1 ? card.day.humidity + "%" : "", card.day.precipitation]
                     .filter(part => part.length > 0).join(", ")
    color: Theme.panelHi
    clip: true

    Column {
        anchors.centerIn: parent
        width: parent.width - (card.compact ? 4 : 8)
        spacing: card.compact ? 2 : 3
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: card.day.weekday
            font.family: Theme.fontFamily; font.pixelSize: card.compact ? 9 : 11; font.weight: Font.DemiBold
            color: Theme.textMuted
        }
        PanelIcon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: card.day.icon
            color: Theme.gold
            size: card.compact ? Theme.callout : Theme.body
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: card.day.temperatures
            font.family: Theme.fontFamily; font.pixelSize: card.compact ? 9 : 10
            fontSizeMode: Text.HorizontalFit; minimumPixelSize: (card.compact ? 9 : 10) * 0.7
            color: "white"
        }
        Row {
            id: windRow
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 3
            readonly property real textSize: card.compact ? 8 : 9
            SymbolIcon { id: windIcon; anchors.verticalCenter: parent.verticalCenter; name: "wind"; color: Theme.textMuted; size: card.compact ? 7 : 8 }
            Text {
                objectName: "forecastWind"
                anchors.verticalCenter: parent.verticalCenter
                // Measured at the full size, so the fitted text never feeds back into its own width.
                width: Math.max(1, Math.min(Math.ceil(windMetrics.advanceWidth) + 1,
                                            card.width - (card.compact ? 4 : 8) - windIcon.width - windRow.spacing))
                text: card.day.wind
                font.family: Theme.fontFamily; font.pixelSize: windRow.textSize; font.weight: Font.Medium
                color: Theme.textMuted
                maximumLineCount: 1
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: Math.ceil(windRow.textSize * 0.55)
                elide: Text.ElideRight
                TextMetrics {
                    id: windMetrics
                    font.family: Theme.fontFamily; font.pixelSize: windRow.textSize; font.weight: Font.Medium
                    text: card.day.wind
                }
            }
        }
        HumidityBadge {
            // The card reads the whole day as one line.
            Accessible.ignored: true
            visible: card.day.humidity >= 1
            anchors.horizontalCenter: parent.horizontalCenter
            pct: card.day.humidity
            font: Qt.font({ family: Theme.fontFamily, pixelSize: card.compact ? 8 : 9 })
        }
        Text {
            visible: card.day.precipitation.length > 0
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: card.day.precipitation
            font.family: Theme.fontFamily; font.pixelSize: card.compact ? 8 : 9
            color: Theme.green
        }
    }
}
