import QtQuick

// A view read from its file only when it is shown: the types it uses, and the modules they import, cost
// nothing until then. `properties` are set as the view is created (give it objects; their own bindings
// stay live inside the view).
Loader {
    property url view
    property var properties: ({})

    focus: true
    Component.onCompleted: setSource(view, properties)
}
