import QtQuick
import Orvane.Common
import Orvane.Face

// The day's prayers side by side: each name over its time, the next prayer's time in gold. `cells` is
// a list of {key, name, time, next}.
Item {
    id: row
    property var cells: []

    implicitHeight: 6 + column.implicitHeight
    implicitWidth: 320

    Row {
        id: column
        y: 6
        width: row.width
        readonly property real implicitHeight: childrenRect.height
        Repeater {
            model: row.cells
            Column {
                required property var modelData
                objectName: "prayerCell_" + modelData.key
                width: row.cells.length > 0 ? row.width / row.cells.length : 0
                spacing: 3
                // A screen reader reads the cell as one line, the prayer with its time ("Dhuhr 11:53 AM").
                Accessible.role: Accessible.StaticText
                Accessible.name: modelData.name + " " + modelData.time
                ThemeText {
                    Accessible.ignored: true
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: modelData.name
                    textStyle: "caption2"
                    color: Theme.textMuted
                }
                ThemeText {
                    objectName: "prayerTime_" + modelData.key
                    Accessible.ignored: true
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: modelData.time
                    textStyle: "callout"
                    semibold: true
                    color: modelData.next ? Theme.gold : "white"
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: Math.floor(Theme.callout * 0.75)
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
            }
        }
    }
}
