import QtQuick
import Orvane.Common
import Orvane.Face

// The credits at the foot of the face: data network, feeds and this installation's clock identifier.
Column {
    id: credits
    property ClockFaceController face

    spacing: 2
    topPadding: 2

    ThemeText {
        visible: credits.face.hasSources
        width: credits.width
        horizontalAlignment: Text.AlignHCenter
        text: credits.face.networkCredit
        textStyle: "caption2"
        semibold: true
        color: Theme.gold
    }
    ThemeText {
        visible: credits.face.hasSources
        width: credits.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        text: credits.face.feedsCredit
        font.pixelSize: 10
        color: Theme.textMuted
    }
    ThemeText {
        objectName: "clockIdLine"
        width: credits.width
        topPadding: credits.face.hasSources ? 4 : 0
        horizontalAlignment: Text.AlignHCenter
        text: credits.face.clockIdLine
        textStyle: "caption2"
        semibold: true
        color: Theme.gold
    }
}
