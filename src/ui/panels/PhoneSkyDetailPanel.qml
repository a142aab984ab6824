import QtQuick
import Orvane.Common
import Orvane.Panels

// Under the dial of the narrow face: the sun's and the moon's facts side by side in one tinted box.
Rectangle {
    id: panel
    property var bundle
    property bool metric: true
    property bool showSun: true
    property bool showMoon: true

    readonly property real columnWidth: (width - 20 - (showSun && showMoon ? 24 + 1 : 0)) / Math.max(1, (showSun ? 1 : 0) + (showMoon ? 1 : 0))

    implicitHeight: Math.max(showSun ? sunFacts.implicitHeight : 0, showMoon ? moonColumn.implicitHeight : 0,
                             showSun && showMoon ? 72 : 0) + 20
    radius: 12
    color: Qt.rgba(Theme.panelHi.r, Theme.panelHi.g, Theme.panelHi.b, 0.55)

    SkyFactsModel { id: facts; bundle: panel.bundle; metric: panel.metric }

    Row {
        x: 10
        y: 10
        spacing: 12
        Column {
            id: sunFacts
            visible: panel.showSun
            width: panel.columnWidth
            spacing: 4
            Row {
                spacing: 4
                PanelIcon { anchors.verticalCenter: parent.verticalCenter; name: "sun.max.fill"; color: Theme.gold; size: Theme.caption }
                ThemeText { text: facts.liveSunText; textStyle: "caption"; bold: true; color: Theme.gold }
            }
            ThemeText { text: "NASA SDO"; textStyle: "caption2"; color: Theme.textMuted }
            EclipseMini {
                visible: facts.hasSolarEclipse
                alignment: Text.AlignLeft
                icon: "sun.max.circle.fill"
                title: facts.solarTitle
                date: facts.solarDate
            }
        }
        Rectangle {
            visible: panel.showSun && panel.showMoon
            width: 1
            height: panel.height - 20
            color: Theme.line
        }
        Column {
            id: moonColumn
            visible: panel.showMoon
            width: panel.columnWidth
            spacing: 4
            MoonFactLines { width: parent.width; sky: facts }
            EclipseMini {
                visible: facts.hasLunarEclipse
                alignment: Text.AlignLeft
                icon: "moon.circle.fill"
                title: facts.lunarTitle
                date: facts.lunarDate
            }
        }
    }
}
