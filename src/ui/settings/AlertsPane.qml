import QtQuick
import Orvane.Common
import Orvane.Settings

// Alerts: how far away severe weather and earthquakes still show, and whether an emergency rings.
SettingsForm {
    id: pane
    required property SettingsController controller
    readonly property var settings: controller.settings

    FormSection {
        title: "Weather alerts & earthquakes"
        ChoicePicker {
            objectName: "alertRange"
            label: "Alert range"
            rows: SettingsChoices.alertScopes
            value: pane.settings.alertsScope
            onPicked: v => pane.settings.alertsScope = v
        }
        SwitchRow {
            objectName: "emergencyAlarm"
            text: "Ring alarm on emergency alerts"
            value: pane.settings.emergencyAlarm
            onToggledByUser: on => pane.settings.emergencyAlarm = on
        }
        Caption {
            objectName: "alertsHelp"
            text: SettingsChoices.alertsScopeHelp(pane.settings.alertsScope)
        }
    }
}
