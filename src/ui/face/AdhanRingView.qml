import QtQuick
import QtQuick.Window
import Orvane.Common
import Orvane.Face

// The full-window overlay while the call to prayer plays: a breathing crescent, the caption, the call's
// title and prayer, its text line by line (the dawn-only line in gold), the rak'ah breakdown, the credit
// note and a red Stop button. The texts come from the player; the labels are already looked up.
Rectangle {
    id: overlay

    property string activeTitle
    property string activePrayerName
    property string activeText
    property string rakatTitle
    property var rakatLines: []
    property string rakatTotal
    property string adhanNowLabel: "adhan_now"
    property string adhanForLabel: "adhan_for"
    property string rakatsLabel: "rk_rakats"
    property string stopLabel: "stop"
    property Component creditNote: null

    signal stopRequested()

    readonly property var sizeClass: AdhanRingLayout.sizeClass(width, height)
    readonly property bool compact: sizeClass.compact
    property bool pulse: false

    gradient: Gradient {
        GradientStop { position: 0; color: Theme.bg }
        GradientStop { position: 1; color: Qt.rgba(0.08, 0.06, 0.02, 1) }
    }

    Component.onCompleted: {
        pulse = true
        if (visible) stopCapsule.forceActiveFocus(Qt.OtherFocusReason)
    }
    // While the call plays only the overlay acts: Stop takes the keyboard focus, and no press, wheel turn
    // or hover reaches the face beneath. Afterwards the focus goes back where it was, never left on the
    // hidden Stop.
    onVisibleChanged: {
        if (visible) {
            // A sheet's control, or the sheet itself, is where the keyboard goes back to as well.
            const before = overlay.Window.activeFocusItem
            if (before && !focusBefore.inside(before, overlay)) focusBefore.last = before
            stopCapsule.forceActiveFocus(Qt.OtherFocusReason)
        } else {
            focusBefore.giveBack()
        }
    }
    FocusReturn { id: focusBefore; owner: overlay; watching: !overlay.visible }

    // Screen readers say the call as it appears ("Time for Dhuhr"), then the focused Stop within it.
    Accessible.role: Accessible.AlertMessage
    Accessible.name: prayerLine.visible ? prayerLine.text : overlay.activeTitle
    Accessible.description: overlay.activePrayerName.length > 0 ? overlay.activeTitle : ""

    MouseArea {
        objectName: "inputShield"
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onWheel: (wheel) => wheel.accepted = true
    }

    Column {
        id: stack
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: overlay.compact ? 14 : 24
        anchors.rightMargin: overlay.compact ? 14 : 24
        spacing: overlay.sizeClass.spacing
        // A call taller than the window (the dawn call's longer text in a window made small) shrinks as one
        // piece, as the face does, so its whole text and Stop stay inside.
        transformOrigin: Item.Top
        scale: Math.min(1, overlay.height / naturalHeight)
        height: overlay.height / scale

        readonly property real fixedHeight: icon.height + caption.height + title.height
                                            + (prayerLine.visible ? prayerLine.height : 0) + callLines.height
                                            + (rakat.visible ? rakat.height : 0)
                                            + (credit.visible ? credit.height : 0) + stopButton.height
                                            + spacing * (visibleChildren.length - 1)
        readonly property real topGap: overlay.compact ? 6 : 16
        readonly property real bottomGap: overlay.compact ? 4 : 12
        readonly property real naturalHeight: fixedHeight + topGap + bottomGap
        // What the window has beyond the call, shared above and below it.
        readonly property real freeHeight: Math.max(0, height - naturalHeight)

        Item { width: 1; height: stack.topGap + stack.freeHeight / 2 }

        SymbolIcon {
            id: icon
            objectName: "adhanIcon"
            anchors.horizontalCenter: parent.horizontalCenter
            name: "moon.stars.fill"
            size: overlay.sizeClass.iconSize
            color: Theme.gold
            scale: overlay.pulse ? 1.08 : 0.94
            SequentialAnimation on scale {
                // The overlay stays loaded, hidden, between calls; a hidden pulse would still make the
                // window draw every frame.
                running: overlay.pulse && overlay.visible
                loops: Animation.Infinite
                NumberAnimation { from: 0.94; to: 1.08; duration: 900; easing.type: Easing.InOutQuad }
                NumberAnimation { from: 1.08; to: 0.94; duration: 900; easing.type: Easing.InOutQuad }
            }
        }

        ThemeText {
            id: caption
            anchors.horizontalCenter: parent.horizontalCenter
            text: overlay.adhanNowLabel.toUpperCase()
            textStyle: "caption2"
            font.letterSpacing: 2
            color: Theme.textMuted
        }

        ThemeText {
            id: title
            objectName: "adhanTitle"
            width: parent.width
            height: Math.ceil(overlay.sizeClass.titleSize * 1.35)
            horizontalAlignment: Text.AlignHCenter
            text: overlay.activeTitle
            font.pixelSize: overlay.sizeClass.titleSize
            bold: true
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.floor(overlay.sizeClass.titleSize * 0.7)
            elide: Text.ElideRight
        }

        ThemeText {
            id: prayerLine
            objectName: "adhanPrayerLine"
            visible: overlay.activePrayerName.length > 0
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: overlay.adhanForLabel + " " + overlay.activePrayerName
            textStyle: overlay.compact ? "subheadline" : "headline"
            color: Theme.gold
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.floor(Theme.textSize(textStyle) * 0.8)
            elide: Text.ElideRight
        }

        Column {
            id: callLines
            objectName: "adhanLines"
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.max(0, AdhanRingLayout.textMaxWidth(overlay.width, overlay.compact)
                                 - 2 * (overlay.compact ? 4 : 12))
            spacing: overlay.compact ? 3 : 6
            Repeater {
                model: AdhanRingLayout.lines(overlay.activeText)
                ThemeText {
                    required property var modelData
                    objectName: "adhanLine"
                    width: callLines.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    text: modelData.text
                    textStyle: overlay.sizeClass.textStyle
                    // Shrinks to 65 % to stay within two lines before anything is cut.
                    font.pixelSize: AdhanRingLayout.fittedPixelSize(modelData.text,
                                                                    Theme.textSize(overlay.sizeClass.textStyle),
                                                                    modelData.dawn, callLines.width, 2, 0.65)
                    semibold: modelData.dawn
                    color: modelData.dawn ? Theme.gold : Qt.rgba(1, 1, 1, 0.92)
                }
            }
        }

        Column {
            id: rakat
            objectName: "adhanRakat"
            visible: overlay.rakatLines.length > 0
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: overlay.compact ? 6 : 8
            topPadding: 2
            ThemeText {
                id: rakatHeading
                objectName: "adhanRakatHeading"
                anchors.horizontalCenter: parent.horizontalCenter
                // Measured at the full size, so the fitted text never feeds back into its own width.
                width: Math.min(Math.ceil(headingMetrics.advanceWidth) + 2, stack.width)
                horizontalAlignment: Text.AlignHCenter
                text: overlay.rakatsLabel + " \u00B7 " + overlay.rakatTitle
                textStyle: overlay.compact ? "caption" : "subheadline"
                bold: true
                color: Theme.gold
                maximumLineCount: 1
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: Math.ceil(Theme.textSize(textStyle) * 0.8)
                elide: Text.ElideRight
                TextMetrics {
                    id: headingMetrics
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.textSize(rakatHeading.textStyle)
                    font.weight: Font.Bold
                    text: rakatHeading.text
                }
            }
            Flow {
                id: grid
                readonly property real maxWidth: overlay.compact ? 340 : 420
                readonly property real minCell: overlay.compact ? 72 : 88
                readonly property int columns: Math.max(1, Math.min(overlay.rakatLines.length,
                                                                    Math.floor((maxWidth + 8) / (minCell + 8))))
                readonly property real cellWidth: (Math.min(maxWidth, stack.width) - 8 * (columns - 1)) / columns
                anchors.horizontalCenter: parent.horizontalCenter
                width: columns * cellWidth + 8 * (columns - 1)
                spacing: 8
                Repeater {
                    model: overlay.rakatLines
                    RoundedBox {
                        required property var modelData
                        width: grid.cellWidth
                        height: cell.implicitHeight + (overlay.compact ? 10 : 12)
                        radius: height / 2
                        color: Theme.panelHi
                        ThemeText {
                            id: cell
                            anchors.centerIn: parent
                            width: parent.width - (overlay.compact ? 16 : 20)
                            horizontalAlignment: Text.AlignHCenter
                            elide: Text.ElideRight
                            text: modelData
                            textStyle: "caption2"
                            semibold: true
                        }
                    }
                }
            }
            ThemeText {
                visible: overlay.rakatTotal.length > 0
                anchors.horizontalCenter: parent.horizontalCenter
                text: overlay.rakatTotal
                textStyle: overlay.compact ? "caption" : "callout"
                bold: true
                color: Theme.green
            }
        }

        Item { width: 1; height: stack.bottomGap + stack.freeHeight / 2 }

        Loader {
            id: credit
            visible: overlay.creditNote !== null
            anchors.horizontalCenter: parent.horizontalCenter
            width: parent.width - 2 * (overlay.compact ? 8 : 16)
            sourceComponent: overlay.creditNote
        }

        Item {
            id: stopButton
            anchors.horizontalCenter: parent.horizontalCenter
            width: stopCapsule.width
            height: stopCapsule.height + (overlay.compact ? 20 : 40)
            FocusButton {
                id: stopCapsule
                objectName: "adhanStop"
                width: stopRow.implicitWidth + (overlay.compact ? 72 : 100)
                height: stopRow.implicitHeight + (overlay.compact ? 24 : 32)
                text: overlay.stopLabel
                onClicked: overlay.stopRequested()
                RoundedBox {
                    anchors.fill: parent
                    radius: height / 2
                    color: Qt.rgba(1, 0.23, 0.19, stopCapsule.down ? 1 : 0.85)
                }
                Row {
                    id: stopRow
                    anchors.centerIn: parent
                    spacing: 8
                    SymbolIcon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "stop.fill"
                        size: stopText.font.pixelSize
                        color: "white"
                    }
                    ThemeText {
                        id: stopText
                        Accessible.ignored: true
                        text: overlay.stopLabel
                        textStyle: overlay.compact ? "body" : "title3"
                        semibold: true
                    }
                }
            }
        }
    }
}
