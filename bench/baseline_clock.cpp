// A bare Qt Quick window with a second hand sweeping at the display's frame rate: the least any animated
// clock face costs. bench/idle runs it beside Orvane and reports Orvane's CPU and memory as ratios of it.
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QQuickView view;
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setColor(QColor(0x0b, 0x0f, 0x14));
    QQmlComponent component(view.engine());
    component.setData(R"(
        import QtQuick
        Item {
            width: 1280; height: 860
            Rectangle {
                anchors.centerIn: parent; width: 600; height: 600; radius: 300
                color: "#151c26"; border.color: "#c8a44a"; border.width: 6
                Rectangle {
                    id: hand
                    x: parent.width / 2 - 2; y: parent.height / 2 - 270
                    width: 4; height: 290; color: "#3fb37f"; antialiasing: true
                    transform: Rotation { id: turn; origin.x: 2; origin.y: 270 }
                }
                NumberAnimation { target: turn; property: "angle"; from: 0; to: 360; duration: 60000;
                                  loops: Animation.Infinite; running: true }
            }
        })",
                      QUrl());
    auto* root = qobject_cast<QQuickItem*>(component.create());
    if (!root) return 1;
    root->setParentItem(view.contentItem());
    view.resize(1280, 860);
    view.show();
    return app.exec();
}
