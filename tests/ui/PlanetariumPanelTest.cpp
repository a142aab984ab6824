#include "ui/panels/PlanetariumController.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QQuickWindow>
#include <QTemporaryDir>

#include "QuickHarness.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The web engine shares GL contexts with the scene and needs both settled before the application
// object exists, so the page test runs in a child of this program started with this variable naming the
// scene graph: "opengl" is set up as main() does on a GPU, "software" is left to the sheet.
const bool webViewChild = [] {
    const QByteArray graph = qgetenv("ORVANE_WEBVIEW_CHILD");
    if (graph.isEmpty()) return false;
    if (graph == "software") {
        qputenv("QT_QUICK_BACKEND", "software");
    } else {
        qunsetenv("QT_QUICK_BACKEND");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    }
    return true;
}();

}  // namespace

TEST(PlanetariumPanel, FlagsFollowTheNavigation) {
    PlanetariumController sheet;
    EXPECT_TRUE(sheet.isLoading());
    EXPECT_FALSE(sheet.loadFailed());
    sheet.navigationFailed();
    EXPECT_FALSE(sheet.isLoading());
    EXPECT_TRUE(sheet.loadFailed());
    // A new navigation shows the spinner and keeps the notice until it ends.
    sheet.navigationStarted();
    EXPECT_TRUE(sheet.isLoading());
    EXPECT_TRUE(sheet.loadFailed());
    sheet.navigationFinished();
    EXPECT_FALSE(sheet.isLoading());
    EXPECT_FALSE(sheet.loadFailed());
}

TEST(PlanetariumPanel, AddressIsFixedWhenTheSheetOpens) {
    PlanetariumController sheet;
    sheet.setUrl(QUrl(u"https://sky.example/planetarium?obj=Moon&h=10"_s));
    sheet.setUrl(QUrl(u"https://sky.example/planetarium?obj=Moon&h=11"_s));
    EXPECT_EQ(sheet.url(), QUrl(u"https://sky.example/planetarium?obj=Moon&h=10"_s));
    EXPECT_EQ(sheet.notice(),
              u"The sky map couldn\u2019t finish loading in-app (site protection may block WebView)."_s);
}

TEST(PlanetariumPanel, LocalPageLoadsInTheWebView) {
    if (!PlanetariumController::webViewAvailable()) GTEST_SKIP() << "no embedded web view on this machine";
    for (const QString& graph : {u"opengl"_s, u"software"_s}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"ORVANE_WEBVIEW_CHILD"_s, graph);
        env.insert(u"QTWEBENGINE_DISABLE_SANDBOX"_s, u"1"_s);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--gtest_filter=PlanetariumPanel.WebViewChild"_s});
        ASSERT_TRUE(child.waitForFinished(60000)) << graph.toStdString();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << graph.toStdString();
        EXPECT_EQ(child.exitCode(), 0) << graph.toStdString();
    }
}

TEST(PlanetariumPanel, WebViewChild) {
    if (!webViewChild) GTEST_SKIP() << "runs only as the child of LocalPageLoadsInTheWebView";
    QTemporaryDir dir;
    QFile page(dir.filePath(u"planetarium.html"_s));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body style='background:#000;color:#fff'>Moon</body></html>");
    page.close();

    QuickHarness harness;
    QQuickItem* root = harness.load("import QtQuick\nimport Orvane.Panels\nPlanetariumView { url: \"" +
                                        QUrl::fromLocalFile(page.fileName()).toString().toUtf8() + "\" }",
                                    QSize(640, 420));
    ASSERT_NE(root, nullptr);
    auto* sheet = root->property("controller").value<PlanetariumController*>();
    ASSERT_NE(sheet, nullptr);
    for (int i = 0; i < 300 && sheet->isLoading(); ++i) harness.settle(50);
    EXPECT_FALSE(sheet->isLoading());
    EXPECT_FALSE(sheet->loadFailed());
    EXPECT_FALSE(findItem(root, u"failureNotice"_s)->isVisible());

    // A page that is not there: the spinner goes and the notice with its button shows.
    QuickHarness missingHarness;
    QQuickItem* missing = missingHarness.load(
        "import QtQuick\nimport Orvane.Panels\nPlanetariumView { url: \"" +
            QUrl::fromLocalFile(dir.filePath(u"absent.html"_s)).toString().toUtf8() + "\" }",
        QSize(640, 420));
    ASSERT_NE(missing, nullptr);
    auto* failing = missing->property("controller").value<PlanetariumController*>();
    for (int i = 0; i < 300 && failing->isLoading(); ++i) missingHarness.settle(50);
    EXPECT_FALSE(failing->isLoading());
    EXPECT_TRUE(failing->loadFailed());
    EXPECT_TRUE(findItem(missing, u"failureNotice"_s)->isVisible());
}
