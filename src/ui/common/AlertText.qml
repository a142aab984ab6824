import QtQuick
import Orvane.Common

// A message that appears to tell the user something (a failure, where a place was saved, what was found):
// shown only while it has text, and announced by screen readers once as it appears and once whenever it
// changes while on show.
ThemeText {
    id: message

    visible: text.length > 0
    Accessible.role: Accessible.AlertMessage
    // Qt announces the message as it starts showing, but not when it was created showing in place; each
    // is said once either way.
    onTextChanged: Qt.callLater(message.announce)
    Component.onCompleted: Qt.callLater(message.announce)

    function announce() {
        AccessibleAlert.raise(message)
    }
}
