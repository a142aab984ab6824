import QtQuick
import Orvane.Common
import Orvane.Face
import Orvane.Panels

// Tonight's moon beside the dial: the drawn phase and, unless pictures only, its facts and next eclipse.
Column {
    id: panel
    property var bundle
    property bool metric: true
    property real size: 120
    property bool imagesOnly: false

    spacing: 8
    width: parent ? parent.width : implicitWidth

    SkyFactsModel { id: sky; bundle: panel.bundle; metric: panel.metric }

    MoonPhaseView {
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.size
        height: panel.size
        illumination: sky.illumination
        waxing: sky.waxing
        tint: MoonColors.tint(sky.tintKey)
    }
    Repeater {
        model: panel.imagesOnly ? [] : [
            { text: sky.moonName, style: "subheadline", bold: true, color: "white" },
            { text: sky.phaseLine, style: "caption", bold: false, color: Theme.textMuted },
            { text: sky.distanceLine, style: "caption2", bold: false, color: Theme.textMuted },
            { text: sky.dayLine, style: "caption", semibold: true, color: Theme.gold }
        ]
        ThemeText {
            required property var modelData
            visible: modelData.text.length > 0
            width: panel.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: modelData.text
            textStyle: modelData.style
            bold: modelData.bold === true
            semibold: modelData.semibold === true
            color: modelData.color
        }
    }
    EclipseMini {
        visible: !panel.imagesOnly && sky.hasLunarEclipse
        anchors.horizontalCenter: parent.horizontalCenter
        icon: "moon.circle.fill"
        title: sky.lunarTitle
        date: sky.lunarDate
    }
}
