#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QQmlApplicationEngine engine;
    engine.loadData(R"(
        import QtQuick
        import QtQuick.Window
        Window {
            width: 1280; height: 860; visible: true; color: "#0b0f14"; title: "Orvane"
            Text { anchors.centerIn: parent; color: "#e8e2d0"; font.pixelSize: 48; text: "Orvane" }
        })");
    if (engine.rootObjects().isEmpty()) return 1;
    return app.exec();
}
