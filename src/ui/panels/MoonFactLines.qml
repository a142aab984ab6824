import QtQuick
import Orvane.Common
import Orvane.Panels

// The moon's fact lines, leading-aligned, in the smaller sizes of the sky-detail block.
Column {
    property SkyFactsModel sky
    property string nameStyle: "caption"
    property string phaseStyle: "caption2"
    property string dayStyle: "caption2"

    spacing: 4
    ThemeText { visible: text.length > 0; width: parent.width; wrapMode: Text.Wrap; text: sky.moonName; textStyle: nameStyle; bold: true }
    ThemeText { width: parent.width; wrapMode: Text.Wrap; text: sky.phaseLine; textStyle: phaseStyle; color: Theme.textMuted }
    ThemeText { visible: text.length > 0; text: sky.distanceLine; textStyle: "caption2"; color: Theme.textMuted }
    ThemeText { text: sky.dayLine; textStyle: dayStyle; semibold: true; color: Theme.gold }
}
