import QtQuick
import QtQuick.Controls
import Orvane.Common

// A tab of a row of pages that a screen reader hears as a page tab, checked and selected while its page
// shows (`checked`, which the owner binds to the page on show). Return, Enter, Space, a click and the
// reader's press choose it alike. As a tab bar on the desktop, the row is one Tab stop (the tab on show)
// and the left and right arrow keys choose the tab beside it.
TabButton {
    id: tab
    readonly property bool pageTab: true

    function besideMe(step) {
        const row = []
        for (let i = 0; i < parent.children.length; ++i) {
            const other = parent.children[i]
            if (other.pageTab === true && other.visible && other.enabled) row.push(other)
        }
        row.sort((a, b) => a.x - b.x)
        return row[(row.indexOf(tab) + step + row.length) % row.length]
    }
    function arrow(step) {
        const other = besideMe(step)
        other.forceActiveFocus(Qt.TabFocusReason)
        ButtonPress.click(other)
    }

    // Qt keeps the control with the focus in the Tab chain whatever it is told, so the focus moves first.
    focusPolicy: checked || activeFocus ? Qt.StrongFocus : Qt.ClickFocus
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.selected: checked
    Accessible.onPressAction: ButtonPress.click(tab)
    Keys.onReturnPressed: ButtonPress.click(tab)
    Keys.onEnterPressed: ButtonPress.click(tab)
    Keys.onLeftPressed: arrow(-1)
    Keys.onRightPressed: arrow(1)
    FocusRing { target: tab }
}
