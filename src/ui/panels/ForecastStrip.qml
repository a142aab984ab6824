import QtQuick
import Orvane.Common
import Orvane.Panels

// The daily forecast: a grid of four columns filling its height (wide face), or one scrolling row of
// fixed-width cards (narrow face).
Panel {
    id: strip
    property var bundle
    property bool metric: true
    property string localeName
    property bool vertical: true
    property real fitHeight: 0

    // The given height, else the height the card gives its content when it fills what it is offered; never
    // the strip's own height, which follows the grid.
    readonly property real gridHeight: fitHeight > 0 ? fitHeight : Math.max(content.height, 80)
    readonly property int dayCount: forecast.days.length
    readonly property real rowHeight: vertical ? forecast.rowHeight(dayCount, gridHeight) : 72

    title: forecast.title
    fill: vertical && fitHeight <= 0

    readonly property ForecastStripModel forecast: ForecastStripModel {
        bundle: strip.bundle
        metric: strip.metric
        localeName: strip.localeName
    }

    Item {
        id: content
        implicitHeight: strip.vertical ? (strip.fitHeight > 0 ? strip.fitHeight : 80) : 72
        Grid {
            visible: strip.vertical
            columns: 4
            spacing: 8
            Repeater {
                model: strip.vertical ? strip.forecast.rows(strip.dayCount) * 4 : 0
                Item {
                    id: cell
                    required property int index
                    width: (strip.width - 28 - 24) / 4
                    height: strip.rowHeight
                    Loader {
                        anchors.fill: parent
                        active: cell.index < strip.dayCount
                        sourceComponent: ForecastCard {
                            day: strip.forecast.days[cell.index]
                            rowHeight: strip.rowHeight
                            compact: strip.forecast.isCompact(strip.rowHeight)
                        }
                    }
                }
            }
        }
        ListView {
            visible: !strip.vertical
            width: parent.width
            height: 72
            orientation: ListView.Horizontal
            spacing: 10
            clip: true
            model: strip.vertical ? [] : forecast.days
            delegate: ForecastCard {
                required property var modelData
                width: 80
                day: modelData
                rowHeight: 72
                compact: true
            }
        }
    }
}
