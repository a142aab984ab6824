import QtQuick
import QtQuick.Controls
import Orvane.Common

// The two-segment switch between the Gregorian grid (false) and the Hijri grid (true). The left and right
// arrow keys move between the segments as well as Tab does.
Rectangle {
    id: picker
    property bool hijri: false
    property string gregorianTitle
    property string hijriTitle
    signal chosen(bool hijri)

    implicitHeight: 32
    radius: 8
    color: Theme.panel
    border.color: Theme.line
    border.width: 1

    Row {
        anchors.fill: parent
        anchors.margins: 2
        Repeater {
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
                focusPolicy: Qt.StrongFocus
                Accessible.name: text
                Accessible.checkable: true
                // Toggle too asks for the mode: Qt's own would check the segment whatever the mode.
                Accessible.onPressAction: ButtonPress.click(segment)
                Accessible.onToggleAction: ButtonPress.click(segment)
                onClicked: picker.chosen(isHijri)
                Keys.onLeftPressed: picker.chosen(false)
                Keys.onRightPressed: picker.chosen(true)
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
