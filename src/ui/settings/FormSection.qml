import QtQuick
import Orvane.Common

// One group of a settings pane: its header above a card holding the rows, one under the other.
Column {
    id: section
    property string title
    default property alias rows: body.data
    width: parent ? parent.width : 0
    spacing: 6

    ThemeText {
        visible: section.title.length > 0
        text: section.title
        textStyle: "subheadline"
        semibold: true
        color: Theme.textMuted
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    // A plain rectangle rather than a RoundedBox: the form scrolls under a clip, which the box's direct
    // drawing into the window would not keep to.
    Rectangle {
        width: parent.width
        height: body.implicitHeight + 24
        radius: 10
        color: Theme.panel
        border.color: Theme.line
        border.width: 1
        Column {
            id: body
            x: 12
            y: 12
            width: parent.width - 24
            spacing: 10
        }
    }
}
