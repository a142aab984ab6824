import QtQuick
import Orvane.Calendar
import Orvane.Face
import Orvane.Shell

// The month calendar as the face's sheet, on the face's own minute.
IslamicCalendarView {
    required property RootController shell
    required property ClockFaceController face

    objectName: "islamicCalendarView"
    bundle: shell.bundle
    now: face.now
    onDismissed: face.showCalendar = false
}
