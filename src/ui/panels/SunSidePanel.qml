import QtQuick
import Orvane.Common
import Orvane.Panels

// The live sun beside the dial: the circular picture and, unless pictures only, its caption, credit and
// the next solar eclipse.
Column {
    id: panel
    property var bundle
    property real size: 120
    property string imageURL
    property bool imagesOnly: false

    spacing: 8
    width: parent ? parent.width : implicitWidth

    SkyFactsModel { id: sky; bundle: panel.bundle }

    SunPicture {
        anchors.horizontalCenter: parent.horizontalCenter
        size: panel.size
        imageURL: panel.imageURL
        glow: panel.imagesOnly ? 4 : 10
    }
    ThemeText {
        visible: !panel.imagesOnly
        width: panel.width
        horizontalAlignment: Text.AlignHCenter
        text: sky.liveSunText
        textStyle: "subheadline"
        bold: true
    }
    ThemeText {
        visible: !panel.imagesOnly
        width: panel.width
        horizontalAlignment: Text.AlignHCenter
        text: "NASA SDO"
        textStyle: "caption2"
        color: Theme.textMuted
    }
    EclipseMini {
        visible: !panel.imagesOnly && sky.hasSolarEclipse
        anchors.horizontalCenter: parent.horizontalCenter
        icon: "sun.max.circle.fill"
        title: sky.solarTitle
        date: sky.solarDate
    }
}
