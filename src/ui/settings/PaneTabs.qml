import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Settings

// The row of pane tabs: a symbol over the pane's name, the pane on show highlighted.
Row {
    id: tabs
    required property SettingsController controller
    spacing: 4
    Accessible.role: Accessible.PageTabList
    Accessible.name: "Settings panes"

    Repeater {
        model: [
            { pane: "general", title: "General", symbol: "globe" },
            { pane: "adhan", title: "Adhan", symbol: "speaker.wave.2.fill" },
            { pane: "alerts", title: "Alerts", symbol: "bell.badge.fill" },
            { pane: "location", title: "Location", symbol: "mappin.and.ellipse" },
            { pane: "api", title: "API", symbol: "chevron.left.forwardslash.chevron.right" },
            { pane: "account", title: "Account", symbol: "person.crop.circle" }
        ]
        PageTabButton {
            id: tab
            required property var modelData
            readonly property bool current: tabs.controller.selectedPane === modelData.pane
            objectName: "tab_" + modelData.pane
            width: 84
            height: 48
            text: modelData.title
            checked: current
            background: Rectangle {
                radius: 8
                color: tab.current ? Theme.panelHi : (tab.hovered ? Theme.panel : "transparent")
            }
            contentItem: Column {
                spacing: 2
                SettingsIcon {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 18
                    height: 18
                    name: tab.modelData.symbol
                    color: tab.current ? Theme.gold : Theme.textMuted
                }
                ThemeText {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: tab.modelData.title
                    textStyle: "caption"
                    color: tab.current ? Theme.gold : "white"
                }
            }
            onClicked: tabs.controller.selectedPane = modelData.pane
        }
    }
}
