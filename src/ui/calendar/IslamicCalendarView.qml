import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Calendar

// The month calendar sheet: a Gregorian or Hijri month as a seven-column grid with each day in both
// calendars, steps by month and year, the mode switch, today, and the selected day's card. It reads the
// bundle and the instant as it opens and again when "Today" is pressed; the arrow keys move the selected day.
FocusScope {
    id: view
    property var bundle
    property real now: Date.now()
    readonly property alias calendar: controller
    signal dismissed()

    implicitWidth: 720
    // Sized for a six-row month, so stepping between months never resizes the sheet.
    implicitHeight: toolbar.height + content.implicitHeight + 32 + (6 - controller.rowCount) * 54

    IslamicCalendarController { id: controller }
    Keys.onEscapePressed: view.dismissed()
    Component.onCompleted: {
        controller.open(view.bundle, view.now)
        grid.forceActiveFocus()
    }

    Rectangle { anchors.fill: parent; color: Theme.bg }

    Item {
        id: toolbar
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 44
        CalendarTextButton {
            objectName: "doneButton"
            anchors { left: parent.left; leftMargin: 10; verticalCenter: parent.verticalCenter }
            text: "Done"
            onClicked: view.dismissed()
        }
        ThemeText {
            anchors.centerIn: parent
            text: controller.labels.calendar ?? ""
            textStyle: "headline"
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        CalendarTextButton {
            objectName: "todayButton"
            anchors { right: parent.right; rightMargin: 10; verticalCenter: parent.verticalCenter }
            text: controller.labels.calendar_today ?? ""
            onClicked: controller.jumpToday(view.bundle, view.now)
        }
    }

    Flickable {
        anchors { left: parent.left; right: parent.right; top: toolbar.bottom; bottom: parent.bottom }
        contentHeight: content.implicitHeight + 32
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        ColumnLayout {
            id: content
            x: 16
            y: 16
            width: parent.width - 32
            spacing: 14

            RowLayout {
                objectName: "navBar"
                spacing: 8
                CalendarNavButton {
                    objectName: "previousYear"
                    symbol: "chevron.left.2"
                    text: "Previous year"
                    enabled: controller.canPreviousYear
                    onClicked: controller.shiftYear(-1)
                }
                CalendarNavButton {
                    objectName: "previousMonth"
                    symbol: "chevron.left"
                    text: "Previous month"
                    enabled: controller.canPreviousMonth
                    onClicked: controller.shiftMonth(-1)
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    Layout.leftMargin: 4
                    Layout.rightMargin: 4
                    spacing: 2
                    ThemeText {
                        objectName: "title"
                        Layout.fillWidth: true
                        Layout.preferredHeight: implicitHeight
                        text: controller.titleText
                        textStyle: "title3"
                        bold: true
                        color: Theme.gold
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        maximumLineCount: 2
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: Math.round(Theme.title3 * 0.7)
                    }
                    ThemeText {
                        objectName: "subtitle"
                        Layout.fillWidth: true
                        visible: text.length > 0
                        text: controller.subtitleText
                        textStyle: "caption"
                        color: Theme.textMuted
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        maximumLineCount: 2
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: Math.round(Theme.caption * 0.8)
                    }
                }
                CalendarNavButton {
                    objectName: "nextMonth"
                    symbol: "chevron.right"
                    text: "Next month"
                    enabled: controller.canNextMonth
                    onClicked: controller.shiftMonth(1)
                }
                CalendarNavButton {
                    objectName: "nextYear"
                    symbol: "chevron.right.2"
                    text: "Next year"
                    enabled: controller.canNextYear
                    onClicked: controller.shiftYear(1)
                }
            }

            CalendarModePicker {
                objectName: "modePicker"
                Layout.fillWidth: true
                hijri: controller.useHijriGrid
                gregorianTitle: controller.labels.calendar_mode_gregorian ?? ""
                hijriTitle: controller.labels.calendar_mode_hijri ?? ""
                onChosen: hijri => controller.useHijriGrid = hijri
            }

            Row {
                objectName: "weekdayHeader"
                Layout.fillWidth: true
                Repeater {
                    model: controller.weekdaySymbols
                    ThemeText {
                        required property string modelData
                        width: content.width / 7
                        horizontalAlignment: Text.AlignHCenter
                        text: modelData
                        textStyle: "caption2"
                        semibold: true
                        color: Theme.textMuted
                    }
                }
            }

            FocusScope {
                id: grid
                objectName: "monthGrid"
                Layout.fillWidth: true
                implicitHeight: days.implicitHeight
                Accessible.role: Accessible.Table
                Accessible.name: controller.titleText
                Keys.onLeftPressed: controller.moveSelection(-1)
                Keys.onRightPressed: controller.moveSelection(1)
                Keys.onUpPressed: controller.moveSelection(-7)
                Keys.onDownPressed: controller.moveSelection(7)

                Grid {
                    id: days
                    readonly property real cellWidth: (width - 6 * spacing) / 7
                    width: parent.width
                    columns: 7
                    spacing: 6
                    Repeater {
                        model: controller.daySlots
                        FocusScope {
                            id: slot
                            required property var modelData
                            width: days.cellWidth
                            height: 48
                            focus: !modelData.blank && modelData.selected
                            CalendarDayCell {
                                anchors.fill: parent
                                visible: !slot.modelData.blank
                                enabled: visible
                                Accessible.ignored: !visible
                                focus: true
                                focusPolicy: slot.focus ? Qt.StrongFocus : Qt.NoFocus
                                day: slot.modelData.day ?? ""
                                caption: slot.modelData.caption ?? ""
                                today: slot.modelData.today ?? false
                                selected: slot.modelData.selected ?? false
                                text: slot.modelData.name ?? ""
                                onClicked: controller.selectDay(slot.modelData.index)
                            }
                        }
                    }
                }
            }

            Rectangle {
                objectName: "detailCard"
                Layout.fillWidth: true
                visible: controller.hasDetail
                implicitHeight: detail.implicitHeight + 28
                radius: 14
                color: Theme.panel
                border.color: Theme.line
                border.width: 1
                Column {
                    id: detail
                    anchors.centerIn: parent
                    width: parent.width - 28
                    spacing: 4
                    ThemeText {
                        objectName: "detailHijri"
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        text: controller.detailHijri
                        textStyle: "headline"
                        bold: true
                        color: Theme.gold
                    }
                    ThemeText {
                        objectName: "detailGregorian"
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        text: controller.detailGregorian
                        textStyle: "subheadline"
                    }
                }
            }

            ThemeText {
                objectName: "caption"
                Layout.fillWidth: true
                Layout.leftMargin: 8
                Layout.rightMargin: 8
                text: controller.labels.calendar_caption ?? ""
                textStyle: "caption2"
                color: Theme.textMuted
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
            }
        }
    }
}
