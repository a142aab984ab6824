import QtQuick
import Orvane.Common
import Orvane.Face
import Orvane.Panels

// The weather now at the place, with the moon and the next eclipses above it when the face asks.
Panel {
    id: panel
    property var bundle
    property bool metric: true
    property bool showMoon: false

    title: weather.title
    bottomSpacer: true

    readonly property WeatherPanelModel weather: WeatherPanelModel { bundle: panel.bundle; metric: panel.metric; showMoon: panel.showMoon }
    readonly property SkyFactsModel sky: SkyFactsModel { bundle: panel.bundle; metric: panel.metric }

    Column {
        spacing: 10

        Row {
            visible: panel.showMoon
            spacing: 14
            MoonPhaseView {
                width: 78
                height: 78
                illumination: sky.illumination
                waxing: sky.waxing
                tint: MoonColors.tint(sky.tintKey)
            }
            MoonFactLines {
                width: parent.parent.width - 92
                sky: panel.sky
                spacing: 2
                nameStyle: "subheadline"
                phaseStyle: "caption"
                dayStyle: "caption"
            }
        }
        Repeater {
            model: panel.showMoon ? [
                { shown: sky.hasLunarEclipse, icon: "moon.circle.fill", title: sky.lunarTitle, date: sky.lunarDateWithRegion },
                { shown: sky.hasSolarEclipse, icon: "sun.max.circle.fill", title: sky.solarTitle, date: sky.solarDateWithRegion }
            ] : []
            Column {
                required property var modelData
                visible: modelData.shown
                spacing: 2
                Row {
                    spacing: 5
                    PanelIcon { anchors.verticalCenter: parent.verticalCenter; name: modelData.icon; color: Theme.gold; size: Theme.caption }
                    ThemeText { text: modelData.title; textStyle: "caption"; semibold: true }
                }
                ThemeText { text: modelData.date; textStyle: "caption2"; color: Theme.textMuted }
            }
        }
        Rectangle { visible: panel.showMoon; width: parent.width; height: 1; color: Theme.line }

        ThemeText { visible: !weather.hasWeather; text: "\u2014"; color: Theme.textMuted }
        Item {
            visible: weather.hasWeather
            width: parent.width
            height: Math.max(40, temps.height)
            PanelIcon { name: weather.icon; color: Theme.gold; size: 40 }
            Column {
                id: temps
                anchors.right: parent.right
                spacing: 2
                Text {
                    objectName: "currentTemperature"
                    anchors.right: parent.right
                    text: weather.temperature
                    font.family: Theme.fontFamily; font.pixelSize: 30; font.bold: true
                    color: "white"
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                ThemeText { anchors.right: parent.right; text: weather.conditionText; textStyle: "caption"; color: Theme.textMuted }
            }
        }
        Item {
            visible: weather.hasWeather
            width: parent.width
            height: 18
            WindBadge {
                objectName: "currentWind"
                anchors.verticalCenter: parent.verticalCenter
                text: weather.windText
                iconSize: 11
            }
            HumidityBadge {
                objectName: "currentHumidity"
                visible: weather.hasHumidity
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                pct: weather.humidity
            }
        }
    }
}
