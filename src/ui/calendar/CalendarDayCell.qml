import QtQuick
import QtQuick.Controls
import Orvane.Common

// One day of the month grid: its number in the shown calendar over its date in the other one. Today is
// solid gold; a selected day that is not today is translucent gold with a gold outline.
Button {
    id: cell
    property string day
    property string caption
    property bool today: false
    property bool selected: false
    readonly property bool marked: today || selected

    implicitHeight: 48
    padding: 2
    Accessible.name: text
    Accessible.onPressAction: ButtonPress.click(cell)
    Accessible.role: Accessible.Button
    // A screen reader says which day is chosen.
    Accessible.checkable: true
    Accessible.checked: selected
    Accessible.selected: selected

    contentItem: Column {
        spacing: 2
        topPadding: Math.max(0, (cell.availableHeight - dayText.height - captionText.height - 2) / 2)
        ThemeText {
            id: dayText
            Accessible.ignored: true
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: cell.day
            semibold: true
            color: cell.marked ? Theme.bg : "white"
        }
        Text {
            id: captionText
            Accessible.ignored: true
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: cell.caption
            textFormat: Text.PlainText
            maximumLineCount: 1
            font.family: Theme.fontFamily
            font.pixelSize: 9
            font.weight: Font.Medium
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 6
            color: cell.marked ? Qt.rgba(Theme.bg.r, Theme.bg.g, Theme.bg.b, 0.72) : Theme.textMuted
        }
    }
    background: Rectangle {
        radius: 10
        color: cell.today ? Theme.gold
             : cell.selected ? Qt.rgba(Theme.gold.r, Theme.gold.g, Theme.gold.b, 0.55)
             : Theme.panelHi
        border.width: 1.5
        border.color: cell.selected && !cell.today ? Theme.gold : "transparent"
    }
    // The arrow keys move the focus with the selected day, so the ring follows the keyboard, not Tab alone.
    FocusRing {
        objectName: "focusRing"
        target: cell
        targetRadius: 10
    }
}
