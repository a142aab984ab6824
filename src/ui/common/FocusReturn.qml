import QtQuick
import QtQuick.Window

// Remembers the control the keyboard was last on outside `owner` while `watching`, so a sheet or overlay
// that took the focus can give it back when it goes. With nothing to go back to, the focus leaves the
// owner rather than stay on a control no longer shown.
Item {
    id: keeper
    required property Item owner
    property bool watching: true
    property Item last: null

    function giveBack() { Qt.callLater(keeper.restore) }
    function restore() {
        if (!keeper.watching) return
        if (last && last.visible && last.enabled) {
            last.forceActiveFocus(Qt.OtherFocusReason)
            return
        }
        const focused = keeper.Window.activeFocusItem
        if (focused && keeper.inside(focused, owner)) {
            focused.focus = false
            owner.focus = false  // a focus scope would otherwise keep it
        }
    }
    function inside(item, ancestor) {
        for (let i = item; i; i = i.parent)
            if (i === ancestor) return true
        return false
    }

    Connections {
        target: keeper.Window.window
        enabled: keeper.watching
        function onActiveFocusItemChanged() {
            const item = keeper.Window.activeFocusItem
            if (item && item.activeFocusOnTab && !keeper.inside(item, keeper.owner)) keeper.last = item
        }
    }
}
