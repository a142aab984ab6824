import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvane.Common
import Orvane.Quran

// Where to read: the 30 paras or the 114 surahs in a searchable list, on the tab used last time. Choosing a
// row hands its surah and ayah to the reader.
Item {
    id: sheet
    property alias settings: browse.settings
    property alias library: browse.library
    readonly property alias browse: browse
    signal selectSurah(int surah, int ayah)
    signal close()

    implicitWidth: 520
    implicitHeight: 640

    QuranBrowseController { id: browse }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Item {
            Layout.fillWidth: true
            Layout.preferredHeight: 48
            ThemeText {
                anchors.centerIn: parent
                text: "Qur’an"
                textStyle: "headline"
            }
            QuranButton {
                objectName: "closeButton"
                anchors { left: parent.left; leftMargin: 12; verticalCenter: parent.verticalCenter }
                text: "Close"
                onClicked: sheet.close()
            }
        }

        TabBar {
            id: tabs
            objectName: "browseTabs"
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 16
            Layout.topMargin: 12
            Layout.bottomMargin: 8
            Accessible.name: "Browse"
            currentIndex: browse.showsParas ? 0 : 1
            background: Rectangle { color: Theme.panel; radius: 8 }
            Repeater {
                model: [{ title: "Paras (30)", tag: "para" }, { title: "Surahs (114)", tag: "surah" }]
                PageTabButton {
                    required property var modelData
                    required property int index
                    objectName: "tab_" + modelData.tag
                    text: modelData.title
                    checked: tabs.currentIndex === index
                    onClicked: browse.tab = modelData.tag
                    contentItem: ThemeText {
                        text: parent.text
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        semibold: true
                        color: parent.checked ? Theme.bg : "white"
                    }
                    background: Rectangle {
                        radius: 7
                        color: parent.checked ? Theme.gold : "transparent"
                    }
                }
            }
        }

        TextField {
            id: searchField
            objectName: "searchField"
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 16
            Layout.bottomMargin: 8
            placeholderText: "Search…"
            Accessible.name: "Search"
            focus: true
            color: "white"
            placeholderTextColor: Theme.textMuted
            font.family: Theme.fontFamily
            font.pixelSize: Theme.body
            background: Rectangle { radius: 6; color: Theme.panel; border.color: searchField.activeFocus ? Theme.gold : Theme.line }
            onTextChanged: browse.search = text
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            Column {
                objectName: "emptyState"
                anchors.centerIn: parent
                width: parent.width - 48
                spacing: 10
                visible: browse.libraryEmpty
                QuranIcon {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: "book.closed"
                    size: 40
                    color: Theme.textMuted
                }
                ThemeText {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: "Qur’an not loaded yet"
                    textStyle: "title3"
                    semibold: true
                }
                ThemeText {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: "Close and open Read Qur’an again, or wait for the download to finish."
                    color: Theme.textMuted
                }
            }

            ListView {
                id: list
                objectName: "browseList"
                anchors.fill: parent
                visible: !browse.libraryEmpty
                clip: true
                model: browse.rows
                keyNavigationEnabled: true
                ScrollBar.vertical: ScrollBar {}
                delegate: ItemDelegate {
                    id: row
                    required property var modelData
                    width: ListView.view.width
                    text: modelData.accessibleName
                    leftPadding: 16
                    rightPadding: 16
                    onClicked: sheet.selectSurah(modelData.surah, modelData.ayah)
                    Accessible.onPressAction: ButtonPress.click(row)
                    background: Rectangle {
                        color: row.down || row.visualFocus ? Theme.panelHi : "transparent"
                    }
                    contentItem: RowLayout {
                        spacing: 12
                        ThemeText {
                            Layout.preferredWidth: 36
                            Layout.alignment: Qt.AlignVCenter
                            horizontalAlignment: Text.AlignRight
                            text: row.modelData.number
                            textStyle: browse.showsParas ? "title3" : "body"
                            bold: true
                            color: Theme.gold
                        }
                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 2
                            ThemeText {
                                Layout.fillWidth: true
                                text: row.modelData.title
                                textStyle: "headline"
                                elide: Text.ElideRight
                            }
                            ThemeText {
                                Layout.fillWidth: true
                                horizontalAlignment: Text.AlignLeft
                                // A surah's Arabic name reads right to left whatever it starts with.
                                text: (browse.showsParas ? "" : "\u200F") + row.modelData.subtitle
                                textStyle: browse.showsParas ? "caption" : "subheadline"
                                color: Theme.textMuted
                                elide: Text.ElideRight
                            }
                            ThemeText {
                                Layout.fillWidth: true
                                visible: text.length > 0
                                text: row.modelData.detail
                                textStyle: "caption2"
                                color: Theme.textMuted
                                elide: Text.ElideRight
                            }
                        }
                        ColumnLayout {
                            spacing: 2
                            ThemeText {
                                Layout.alignment: Qt.AlignRight
                                visible: text.length > 0
                                text: row.modelData.trailing
                                textStyle: "caption"
                                semibold: true
                                color: Theme.textMuted
                            }
                            ThemeText {
                                Layout.alignment: Qt.AlignRight
                                visible: text.length > 0
                                text: row.modelData.trailingDetail
                                textStyle: "caption2"
                                color: Theme.textMuted
                            }
                        }
                    }
                }
            }
        }
    }
}
