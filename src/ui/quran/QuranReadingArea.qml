import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Quran

// One ayah: the surah's names and the place in it, the Arabic text, a gold rule and the translation, at the
// reading size. A double click or tap switches reading full screen.
ScrollView {
    id: area
    required property QuranReaderController reader
    readonly property bool fullscreen: reader.fullscreen

    contentWidth: availableWidth
    ScrollBar.vertical.policy: ScrollBar.AsNeeded

    TapHandler {
        onDoubleTapped: area.reader.toggleReadingFullScreen()
    }
    // Each ayah starts at its top.
    Connections {
        target: area.reader
        function onPositionChanged() { area.contentItem.contentY = 0 }
    }

    Column {
        width: area.availableWidth
        spacing: area.fullscreen ? 32 : 20
        bottomPadding: 24

        Column {
            objectName: "header"
            width: parent.width
            visible: area.reader.hasSurahMeta
            topPadding: area.fullscreen ? 36 : 8
            spacing: 6

            Text {
                objectName: "surahName"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                textFormat: Text.PlainText
                text: "\u200F" + area.reader.surahName
                font.family: "Amiri"
                font.pixelSize: area.reader.surahNameSize
                font.weight: Font.DemiBold
                color: Theme.gold
                Accessible.role: Accessible.StaticText
                Accessible.name: area.reader.surahName
            }
            ThemeText {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: area.reader.surahSubtitle
                textStyle: area.fullscreen ? "body" : "caption"
                color: Theme.textMuted
                wrapMode: Text.WordWrap
            }
            ThemeText {
                objectName: "positionLine"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: area.reader.positionLine
                textStyle: area.fullscreen ? "callout" : "caption2"
                color: Theme.textMuted
                opacity: 0.85
            }
            ThemeText {
                objectName: "progressNote"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                visible: !area.fullscreen
                text: area.reader.progressNote
                font.pixelSize: 10
                color: Theme.textMuted
                opacity: 0.55
            }
        }

        Text {
            objectName: "arabicText"
            x: area.fullscreen ? 28 : 16
            width: parent.width - 2 * x
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            textFormat: Text.PlainText
            // The right-to-left mark keeps the line's direction Arabic whatever the text starts with.
            text: "\u200F" + area.reader.arabicText
            font.family: "Amiri Quran"
            font.pixelSize: area.reader.arabicSize
            lineHeightMode: Text.FixedHeight
            lineHeight: arabicMetrics.lineSpacing + area.reader.arabicLineSpacing
            color: "white"
            Accessible.role: Accessible.StaticText
            Accessible.name: area.reader.arabicText
            FontMetrics { id: arabicMetrics; font.family: "Amiri Quran"; font.pixelSize: area.reader.arabicSize }
        }

        Rectangle {
            x: area.fullscreen ? 48 : 40
            width: parent.width - 2 * x
            height: 1
            color: Qt.rgba(Theme.gold.r, Theme.gold.g, Theme.gold.b, 0.25)
        }

        Text {
            objectName: "translationText"
            x: area.fullscreen ? 32 : 18
            width: parent.width - 2 * x
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            textFormat: Text.PlainText
            text: (area.reader.translationRightToLeft ? "\u200F" : "\u200E") + area.reader.translationText
            font.family: area.reader.translationFontFamily
            font.pixelSize: area.reader.translationSize
            lineHeightMode: Text.FixedHeight
            lineHeight: translationMetrics.lineSpacing + area.reader.translationLineSpacing
            color: Qt.rgba(1, 1, 1, 0.92)
            Accessible.role: Accessible.StaticText
            Accessible.name: area.reader.translationText
            FontMetrics {
                id: translationMetrics
                font.family: area.reader.translationFontFamily
                font.pixelSize: area.reader.translationSize
            }
        }

        Item {
            width: 1
            height: 100
            visible: area.fullscreen
        }
    }
}
