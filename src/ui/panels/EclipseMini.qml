import QtQuick
import Orvane.Common
import Orvane.Panels

// The next eclipse in two rows: symbol, title and kind; the date under it.
Column {
    property string icon
    property string title
    property string date
    property int alignment: Text.AlignHCenter

    topPadding: 2
    spacing: 2

    Row {
        spacing: 4
        anchors.horizontalCenter: alignment === Text.AlignHCenter ? parent.horizontalCenter : undefined
        PanelIcon { anchors.verticalCenter: parent.verticalCenter; name: icon; color: Theme.gold; size: Theme.caption2 }
        ThemeText { text: title; textStyle: "caption2"; semibold: true }
    }
    Text {
        anchors.horizontalCenter: alignment === Text.AlignHCenter ? parent.horizontalCenter : undefined
        text: date
        font.family: Theme.fontFamily
        font.pixelSize: 10
        color: Theme.textMuted
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
