import QtQuick
import Orvane.Common
import Orvane.Settings

// Account: starting Orvane when the user logs in.
SettingsForm {
    id: pane
    required property SettingsController controller

    FormSection {
        title: "Startup"
        SwitchRow {
            objectName: "launchAtLogin"
            text: "Launch at Login"
            value: pane.controller.launchAtLogin
            onToggledByUser: on => pane.controller.launchAtLogin = on
        }
        Caption { text: "Recommended so prayer times can open Orvane and play the full adhan after reboot." }
    }
}
