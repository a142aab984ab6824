import QtQuick
import Orvane.Common

// A message that appears to tell the user something (a failure, where a place was saved, what was found):
// shown only while it has text, and announced by screen readers when it appears and whenever it changes
// while on show.
ThemeText {
    id: message
    // What was last announced, so each text is said once.
    property string said: ""

    visible: text.length > 0
    Accessible.role: Accessible.AlertMessage
    // Becoming visible is announced by Qt itself.
    onVisibleChanged: said = visible ? text : ""
    onTextChanged: Qt.callLater(message.announceChange)
    Component.onCompleted: Qt.callLater(message.announceChange)

    function announceChange() {
        if (!visible || text === said) return
        said = text
        AccessibleAlert.raise(message)
    }
}
