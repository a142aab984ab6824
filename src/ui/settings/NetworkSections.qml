import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Settings

// The Location pane's lower sections: refresh intervals, the weather source and the own server's notice.
Column {
    id: sections
    required property SettingsController controller
    readonly property var settings: controller.settings
    width: parent ? parent.width : 0
    spacing: 18

    FormSection {
        title: "Refresh frequency"
        ChoicePicker {
            objectName: "prayerRefresh"
            label: "Prayer times"
            rows: SettingsChoices.intervals
            value: sections.settings.prayerRefreshHours
            onPicked: v => sections.settings.prayerRefreshHours = v
        }
        ChoicePicker {
            label: "Weather"
            rows: SettingsChoices.intervals
            value: sections.settings.weatherRefreshHours
            onPicked: v => sections.settings.weatherRefreshHours = v
        }
        ChoicePicker {
            label: "NASA sun"
            rows: SettingsChoices.intervals
            value: sections.settings.nasaRefreshHours
            onPicked: v => sections.settings.nasaRefreshHours = v
        }
        ChoicePicker {
            label: "Alerts"
            rows: SettingsChoices.intervals
            value: sections.settings.alertsRefreshHours
            onPicked: v => sections.settings.alertsRefreshHours = v
        }
        ChoicePicker {
            label: "Maps / timezone"
            rows: SettingsChoices.intervals
            value: sections.settings.geoRefreshHours
            onPicked: v => sections.settings.geoRefreshHours = v
        }
        Caption {
            text: "Defaults keep traffic low: prayers every 12 h (≈2×/day when open), weather & alerts every 4 h, " +
                  "NASA every 12 h, maps/timezone once a day. Prayer times are calculated on-device and reused " +
                  "for the day — the app does not spam midnight fetches when closed. Open the app to refresh; " +
                  "intervals only apply while running."
        }
    }

    FormSection {
        title: "Weather source"
        SegmentedPicker {
            objectName: "weatherMode"
            label: "Mode"
            rows: SettingsChoices.weatherModes
            value: sections.settings.weatherSourceMode
            onPicked: v => sections.settings.weatherSourceMode = v
        }
        ChoicePicker {
            objectName: "weatherProvider"
            visible: sections.settings.weatherSourceMode === "list"
            label: "Provider"
            rows: SettingsChoices.weatherProviders
            value: sections.settings.weatherProviderId
            onPicked: v => sections.settings.weatherProviderId = v
        }
        LabeledField {
            objectName: "forecastURL"
            visible: sections.settings.weatherSourceMode === "custom"
            label: "Forecast API URL"
            labelVisible: false
            placeholder: SettingsChoices.forecastPrompt
            value: sections.settings.weatherCustomURL
            onEdited: text => sections.settings.weatherCustomURL = text
        }
        Caption { text: SettingsChoices.weatherSourceHelp(sections.settings.weatherSourceMode) }
    }

    FormSection {
        title: "Orvane service"
        Caption { text: SettingsChoices.serviceNotice }
        LinkText { text: "Privacy Policy"; url: SettingsChoices.privacyURL }
    }
}
