import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Settings

// API: this clock's identifier (shown, copied, reclaimed) and the public clock endpoint for partners.
SettingsForm {
    id: pane
    required property SettingsController controller
    readonly property ClockIdReclaim reclaim: controller.reclaim
    readonly property string base: SettingsChoices.serverBaseURL

    component Mono: TextEdit {
        width: parent ? parent.width : implicitWidth
        readOnly: true
        selectByMouse: true
        selectByKeyboard: true
        wrapMode: TextEdit.WrapAnywhere
        color: "white"
        selectionColor: Theme.gold
        font.family: "DejaVu Sans Mono"
        font.pixelSize: Theme.caption
        activeFocusOnTab: true
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    component Labeled: RowLayout {
        property string label
        property alias value: mono.text
        width: parent ? parent.width : implicitWidth
        ThemeText { text: parent.label; Layout.preferredWidth: 110 }
        Mono { id: mono; Layout.fillWidth: true; Accessible.name: parent.label + ": " + text }
    }

    FormSection {
        title: "Public Clock API"
        Caption {
            text: "Partners can build their own adhan clock with the same JSON this app uses. Orvane itself stays " +
                  "local-first for prayer data."
        }
        Labeled { label: "Base URL"; value: pane.base }
        Labeled { label: "Endpoint"; value: "GET /v1/clock" }
        Labeled { objectName: "clockIdRow"; label: "This clock ID"; value: pane.reclaim.clockId }
        ActionButton { objectName: "copyClockId"; text: "Copy clock ID"; onClicked: pane.reclaim.copyClockId() }
        Caption {
            text: "Saved in the keyring on this computer. Survives reinstalling the app. After a new system or a " +
                  "switch of computer, paste the ID below to reclaim the same address."
        }
        RowLayout {
            width: parent.width
            LabeledField {
                objectName: "reclaimDraft"
                Layout.fillWidth: true
                label: "Paste clock ID to reclaim"
                labelVisible: false
                placeholder: "Paste clock ID to reclaim"
                monospace: true
                value: pane.reclaim.draft
                onEdited: text => pane.reclaim.draft = text
                field.Keys.onReturnPressed: pane.reclaim.startReclaim()
            }
            ActionButton {
                objectName: "reclaimButton"
                text: "Reclaim"
                enabled: pane.reclaim.canReclaim
                onClicked: pane.reclaim.startReclaim()
            }
        }
        AlertText {
            objectName: "reclaimMessage"
            width: parent.width
            wrapMode: Text.WordWrap
            text: pane.reclaim.message
            textStyle: "caption"
            color: pane.reclaim.messageIsSuccess ? Theme.green : "#ff5c5c"
        }
        Caption {
            text: "The clock ID keys this clock's saved home address on the server. Partners authenticate with an " +
                  "API key on /v1/clock, not with the clock ID."
        }
    }

    FormSection {
        title: "Example requests"
        Mono { text: "City:\nGET " + pane.base + "/v1/clock?api_key=YOUR_KEY&city=Toronto&lang=en" }
        Mono { text: "Coordinates:\nGET …/v1/clock?api_key=YOUR_KEY&lat=43.65&lon=-79.38" }
        Mono { text: "Address:\nGET …/v1/clock?api_key=YOUR_KEY&address=1600+Amphitheatre+Parkway" }
        Caption {
            text: "Or send header X-API-Key: YOUR_KEY. Response includes prayers, qibla, weather, theme, labels, and more."
        }
    }

    FormSection {
        title: "Get an API key"
        Caption {
            text: "Create your API key on the Developers portal — sign up with email and password, then generate " +
                  "keys. Keys are not shown in this app."
        }
        LinkText {
            text: "Create your API key → Developers portal"
            url: SettingsChoices.developersURL("/developers")
        }
        LinkText {
            text: "Full Clock API docs (curl, Python, JS, Swift)"
            url: SettingsChoices.developersURL("/developers/docs")
        }
        Caption { text: "Default rate limits: 60 requests/minute and 600/hour per key." }
    }
}
