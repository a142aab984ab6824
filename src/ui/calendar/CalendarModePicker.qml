import QtQuick
import QtQuick.Controls
import Orvane.Common

// The two-segment switch between the Gregorian grid (false) and the Hijri grid (true): one Tab stop, on the
// chosen segment, and the left and right arrow keys choose the other one and take the focus with them, as
// in a radio group.
Rectangle {
    id: picker
    property bool hijri: false
    property string gregorianTitle
    property string hijriTitle
    signal chosen(bool hijri)

    function arrowTo(hijri) {
        // Qt keeps the control with the focus in the Tab chain whatever it is told, so the focus moves
        // before the choice.
        segments.itemAt(hijri ? 1 : 0).forceActiveFocus(Qt.TabFocusReason)
        picker.chosen(hijri)
    }

    implicitHeight: 32
    radius: 8
    color: Theme.panel
    border.color: Theme.line
    border.width: 1

    Row {
        anchors.fill: parent
        anchors.margins: 2
        Repeater {
            id: segments
            model: [picker.gregorianTitle, picker.hijriTitle]
            RadioButton {
                id: segment
                required property string modelData
                required property int index
                readonly property bool isHijri: index === 1
                width: (picker.width - 4) / 2
                height: picker.height - 4
                objectName: isHijri ? "hijriSegment" : "gregorianSegment"
                text: modelData
                // The mode decides which segment is on; a click only asks for it.
                checkable: false
                autoExclusive: false
                checked: picker.hijri === isHijri
                focusPolicy: checked || activeFocus ? Qt.StrongFocus : Qt.ClickFocus
                Accessible.name: text
                Accessible.checkable: true
                // Toggle too asks for the mode: Qt's own would check the segment whatever the mode.
                Accessible.onPressAction: ButtonPress.click(segment)
                Accessible.onToggleAction: ButtonPress.click(segment)
                onClicked: picker.chosen(isHijri)
                Keys.onLeftPressed: picker.arrowTo(false)
                Keys.onRightPressed: picker.arrowTo(true)
                indicator: null
                padding: 0
                contentItem: ThemeText {
                    Accessible.ignored: true
                    text: segment.text
                    textStyle: "subheadline"
                    semibold: segment.checked
                    color: segment.checked ? Theme.bg : "white"
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                }
                background: Rectangle {
                    radius: 6
                    color: segment.checked ? Theme.gold : "transparent"
                    border.color: segment.visualFocus ? "white" : "transparent"
                    border.width: 1.5
                }
            }
        }
    }
}
