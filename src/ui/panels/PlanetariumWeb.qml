import QtQuick
import QtWebEngine

// The embedded page; loaded only where the web engine is installed.
WebEngineView {
    id: web
    property var controller

    url: controller.url
    onLoadingChanged: function(request) {
        if (request.status === WebEngineView.LoadStartedStatus) controller.navigationStarted()
        else if (request.status === WebEngineView.LoadSucceededStatus) controller.navigationFinished()
        else controller.navigationFailed()
    }
    Component.onCompleted: controller.navigationStarted()
}
