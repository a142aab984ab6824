import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Dialogs
import Orvane.Common
import Orvane.Settings

// Adhan: whether and how prayer times are announced, the learn-the-call button, the user's own recordings,
// the Quran reading choices and the notification permission.
SettingsForm {
    id: pane
    required property SettingsController controller
    property Component blessingsNote: null
    property string learnAdhanBuiltInURL
    readonly property var settings: controller.settings

    FormSection {
        title: "Adhan"
        ActionButton {
            objectName: "adhanOnOff"
            readonly property bool off: pane.settings.notifyMode === "off"
            width: parent.width
            text: off ? "Turn On Adhan" : "Turn Off Adhan"
            highlighted: true
            // A highlighted button is filled with the palette's dark colour: green to turn the calls on,
            // red for the destructive turning off.
            palette.dark: off ? Theme.green : "#c0392b"
            palette.brightText: "white"
            onClicked: off ? pane.controller.turnOnAdhan() : pane.controller.turnOffAdhan()
        }
        Caption {
            text: pane.settings.notifyMode === "off"
                  ? "Adhan alerts are OFF. Prayer times still show; nothing will ring until you turn Adhan back on."
                  : "Stops automatic Adhan, beep, and prayer banners. Manual “Play adhan” still works."
        }
        SegmentedPicker {
            objectName: "playLength"
            label: "Play length"
            rows: SettingsChoices.playLengths
            value: pane.settings.adhanLength
            onPicked: v => pane.settings.adhanLength = v
        }
        ChoicePicker {
            objectName: "notifyMode"
            label: "Notification"
            rows: SettingsChoices.notifyModes
            value: pane.settings.notifyMode
            onPicked: v => pane.settings.notifyMode = v
        }
        SwitchRow {
            objectName: "vibrate"
            text: "Vibrate"
            value: pane.settings.vibrate
            onToggledByUser: on => pane.settings.vibrate = on
        }
        SwitchRow {
            text: "Blessings splash"
            value: pane.settings.showBlessingsSplash
            onToggledByUser: on => pane.settings.showBlessingsSplash = on
        }
        Caption {
            small: true
            text: "When on, Learn Prayer shows Alhamdulillah → Mashallah → Fi sabilillah before opening YouTube. " +
                  "Admin can also turn the sequence off site-wide."
        }
        Loader {
            width: parent.width
            sourceComponent: pane.blessingsNote
            active: pane.blessingsNote !== null
        }
        Caption {
            small: true
            text: "Editable on the site (Admin → Blessings). Apps refresh when the version changes."
        }
    }

    FormSection {
        title: "Learn Prayer (YouTube)"
        LabeledField {
            label: "Button name"
            value: pane.settings.learnAdhanButtonTitle
            onEdited: text => pane.settings.learnAdhanButtonTitle = text
        }
        Caption { text: "Shown on the clock — e.g. Learn Prayer." }
        LabeledField {
            label: "YouTube link"
            value: pane.settings.learnAdhanVideoURL
            field.inputMethodHints: Qt.ImhNoPredictiveText | Qt.ImhUrlCharactersOnly
            onEdited: text => pane.settings.learnAdhanVideoURL = text
        }
        Caption {
            small: true
            text: "Opens in the YouTube app or browser. Leave empty to use the built-in default: " +
                  pane.learnAdhanBuiltInURL
        }
        ActionButton { text: "Reset to default YouTube link"; onClicked: pane.settings.learnAdhanVideoURL = "" }
        ActionButton { text: "Reset button name"; onClicked: pane.settings.learnAdhanButtonTitle = "Learn Prayer" }
    }

    FormSection {
        title: "Custom Adhan MP3 (on this device)"
        Caption {
            text: "Defaults ship inside the app. Optionally replace Fajr or regular Adhan with your own local MP3 — " +
                  "never downloaded from the server."
        }
        CustomAdhanRow {
            kind: "fajr"
            label: "Fajr Adhan"
            custom: pane.controller.fajrCustom
            onChoose: pane.pickAudio(kind)
            onClear: pane.controller.clearCustomAdhan(kind)
        }
        CustomAdhanRow {
            kind: "regular"
            label: "Regular Adhan"
            custom: pane.controller.regularCustom
            onChoose: pane.pickAudio(kind)
            onClear: pane.controller.clearCustomAdhan(kind)
        }
    }

    FormSection {
        title: "Qur’an translation"
        ChoicePicker {
            objectName: "translationLanguage"
            label: "Translation language"
            rows: SettingsChoices.quranTranslations
            value: pane.settings.quranTranslationLang
            onPicked: v => pane.settings.quranTranslationLang = v
        }
        Caption {
            text: "Arabic text is always shown. Choose the translation under it (English, Urdu, and more). " +
                  "Downloaded once, then works offline."
        }
    }

    FormSection {
        title: "Qur’an text size"
        ChoicePicker {
            objectName: "readingSize"
            label: "Reading size"
            rows: SettingsChoices.quranTextSizes
            value: pane.settings.quranTextSize
            onPicked: v => pane.settings.quranTextSize = v
        }
        Caption {
            text: "Controls Arabic and translation size in Read Qur’an. Huge is best for a large window."
        }
    }

    FormSection {
        title: "Closed-app prayer alerts"
        Caption { objectName: "notificationStatus"; text: pane.controller.notifStatusText }
        Caption {
            text: "On this computer: leave Orvane in the tray (closing the window does not quit). Enable Launch at " +
                  "Login + Notifications. If you quit Orvane, nothing rings until it runs again; click a prayer " +
                  "banner to open it and hear the full adhan."
        }
        ActionButton { text: "Allow notifications / alarms"; onClicked: pane.controller.allowNotifications() }
        ActionButton { text: "Open System Settings"; onClicked: pane.controller.openSystemSettings() }
    }

    property string pickingKind
    function pickAudio(kind) {
        pickingKind = kind
        audioDialog.open()
    }
    FileDialog {
        id: audioDialog
        title: "Choose an audio file"
        fileMode: FileDialog.OpenFile
        nameFilters: ["MP3 audio (*.mp3)", "Audio (*.mp3 *.m4a *.aac *.ogg *.oga *.opus *.wav *.flac)"]
        onAccepted: pane.controller.installCustomAdhan(pane.pickingKind, selectedFile)
    }
}
