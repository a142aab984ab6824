import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Settings

// Location: the device location or a fixed place found by search, then how often data refresh, where the
// weather comes from, and what the own server is contacted for.
SettingsForm {
    id: pane
    required property SettingsController controller
    readonly property var settings: controller.settings
    readonly property LocationSearch search: controller.location

    FormSection {
        title: "Location"
        SwitchRow {
            objectName: "fixedPlaceSwitch"
            text: "Set a fixed city / address"
            value: pane.settings.useManualLocation
            onToggledByUser: on => pane.settings.useManualLocation = on
        }
        Caption {
            visible: !pane.settings.useManualLocation
            text: "Using your device location."
        }
        Column {
            visible: pane.settings.useManualLocation
            width: parent.width
            spacing: 8

            LabeledField {
                id: searchField
                objectName: "citySearch"
                label: "City or address"
                labelVisible: false
                placeholder: "Start typing a city or address…"
                value: pane.search.cityQuery
                onEdited: text => pane.search.cityQuery = text
            }
            AlertText {
                objectName: "suggestionsNote"
                text: pane.search.suggestionsNote
                textStyle: "caption2"
                color: Theme.textMuted
            }
            Repeater {
                model: pane.search.suggestions
                ActionButton {
                    id: row
                    required property var modelData
                    required property int index
                    objectName: "suggestion_" + index
                    width: parent.width
                    flat: true
                    text: modelData.label
                    background: Rectangle {
                        radius: 6
                        color: row.hovered || row.visualFocus ? Theme.panelHi : "transparent"
                        border.color: row.visualFocus ? Theme.gold : "transparent"
                    }
                    contentItem: RowLayout {
                        spacing: 8
                        SettingsIcon {
                            Layout.alignment: Qt.AlignTop
                            width: 16
                            height: 16
                            name: "mappin.circle.fill"
                            color: Theme.gold
                        }
                        ThemeText {
                            Layout.fillWidth: true
                            text: row.modelData.label
                            textStyle: "caption"
                            wrapMode: Text.WordWrap
                            maximumLineCount: 2
                            elide: Text.ElideRight
                        }
                    }
                    // The row goes with the list; the keyboard stays on the search, not on the pane.
                    onClicked: {
                        if (activeFocus) searchField.field.forceActiveFocus(Qt.OtherFocusReason)
                        pane.search.choose(index)
                    }
                }
            }
            ThemeText {
                objectName: "currentPlace"
                visible: pane.settings.manualCity.length > 0
                width: parent.width
                text: "Current: " + pane.settings.manualCity
                textStyle: "caption"
                color: Theme.gold
                wrapMode: Text.WordWrap
            }
            AlertText {
                objectName: "lookupMessage"
                width: parent.width
                text: pane.search.lookupMessage
                textStyle: "caption"
                color: Theme.textMuted
                wrapMode: Text.WordWrap
            }
        }
    }

    NetworkSections { controller: pane.controller }
}
