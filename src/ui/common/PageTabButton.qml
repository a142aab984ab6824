import QtQuick
import QtQuick.Controls
import Orvane.Common

// A tab of a row of pages that a screen reader hears as a page tab, checked and selected while its page
// shows (`checked`, which the owner binds to the page on show). Return, Enter, Space, a click and the
// reader's press choose it alike.
TabButton {
    id: tab
    focusPolicy: Qt.StrongFocus
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.selected: checked
    Accessible.onPressAction: ButtonPress.click(tab)
    Keys.onReturnPressed: ButtonPress.click(tab)
    Keys.onEnterPressed: ButtonPress.click(tab)
    FocusRing { target: tab }
}
