import QtQuick
import QtQuick.Layouts
import Orvane.Common
import Orvane.Settings

// General: the languages, the time format and units, the display name, and the prayer calculation.
SettingsForm {
    id: pane
    required property SettingsController controller
    readonly property var settings: controller.settings

    FormSection {
        title: "Language"
        ChoicePicker {
            objectName: "clockLanguage"
            label: "Clock language"
            rows: SettingsChoices.languages
            value: pane.settings.lang
            onPicked: v => pane.settings.lang = v
        }
        ChoicePicker {
            objectName: "adhanLanguage"
            label: "Adhan text language"
            rows: SettingsChoices.languages
            value: pane.settings.adhanLang
            onPicked: v => pane.settings.adhanLang = v
        }
    }

    FormSection {
        title: "Display"
        SegmentedPicker {
            objectName: "clockFormat"
            label: "Prayer times"
            rows: SettingsChoices.clockFormats
            value: pane.settings.use24HourClock
            onPicked: v => pane.settings.use24HourClock = v
        }
        ChoicePicker {
            objectName: "units"
            label: "Units"
            rows: SettingsChoices.units
            value: pane.settings.unitsMode
            onPicked: v => pane.settings.unitsMode = v
        }
        Caption { text: "Auto uses your region — metric (°C, km/h, km) or US customary (°F, mph, miles)." }
        LabeledField {
            objectName: "displayName"
            label: "Display name"
            value: pane.settings.displayName
            onEdited: text => pane.controller.editDisplayName(text)
        }
        Caption {
            text: "Optional label for admin Clocks (from your account or device name). Not your email address. Clear to hide."
        }
        RowLayout {
            width: parent.width
            ActionButton { text: "Use account name"; onClicked: pane.controller.useAccountName() }
            Item { Layout.fillWidth: true }
            ActionButton { text: "Clear"; onClicked: pane.controller.clearDisplayName() }
        }
    }

    FormSection {
        title: "Prayer calculation"
        ChoicePicker {
            objectName: "method"
            label: "Method"
            rows: pane.controller.methods
            value: pane.settings.method
            onPicked: v => pane.settings.method = v
        }
        ChoicePicker {
            objectName: "asr"
            label: "Asr"
            rows: SettingsChoices.asrRules
            value: pane.settings.asr
            onPicked: v => pane.settings.asr = v
        }
    }
}
