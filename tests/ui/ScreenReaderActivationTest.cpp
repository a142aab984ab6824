#include "FakeClock.h"
#include "PrivateHome.h"
#include "QuickHarness.h"
#include "QuranTestWorld.h"
#include "SampleBundle.h"
#include "SettingsTestWorld.h"
#include "ui/calendar/IslamicCalendarController.h"
#include "ui/face/ClockFaceController.h"
#include "ui/quran/QuranReaderController.h"
#include "ui/shell/LearnAdhanController.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QDateTime>
#include <QQmlContext>
#include <QTest>
#include <functional>

using namespace Qt::Literals::StringLiterals;

// A screen reader's user activates every kind of control of every view through its accessible action, the
// call the AT-SPI bridge makes: it must change what a click changes, the stored setting included, and the
// control must say what it is and which choice is on.

namespace {

enum class View { Settings, Calendar, Reader, Learn, Face, CallOverlay };

struct Activation {
    View view;
    const char* pane;     // the settings pane the window opens on
    const char* control;  // its accessible name, or its object name
    const char* action;   // "Press" or "Toggle"
    QAccessible::Role role;
    // What a click changes: "<settings|controller|view|world|control>.<property>[.<property>]".
    const char* observed;
    QVariant after;  // its value after the activation
    // The choice that reports checked before, and no longer after; the control itself then reports checked.
    const char* chosenBefore = nullptr;
    QVariant before = {};  // written first, when given
};

void PrintTo(const Activation& a, std::ostream* os) {
    *os << a.control << " " << a.action;
}

// One view in an offscreen window with the world it needs.
struct ViewUnderTest {
    std::optional<SettingsTestWorld> settingsWorld;
    std::unique_ptr<SettingsController> settingsController;
    std::optional<QuranTestWorld> quranWorld;
    std::optional<PrivateHome> home;
    std::optional<FakeClock> clock;
    QuickHarness harness;
    QQuickItem* root = nullptr;
    QObject* settings = nullptr;
    QObject* controller = nullptr;
    QObject world;  // counts what leaves the view: links opened

    explicit ViewUnderTest(const Activation& row) {
        switch (row.view) {
            case View::Settings:
                settingsWorld.emplace();
                settingsController = settingsWorld->window(QLatin1String(row.pane));
                settingsController->appear();
                root = harness.load(
                    "import QtQuick\nimport Orvane.Settings\nSettingsView { property int closes: 0\n"
                    "Connections { target: controller; function onCloseRequested() { closes += 1 } } }",
                    {640, 520}, {{u"controller"_s, QVariant::fromValue(settingsController.get())}});
                settings = &settingsWorld->settings;
                controller = settingsController.get();
                break;
            case View::Calendar:
                home.emplace();
                root = harness.load(
                    "import QtQuick\nimport Orvane.Calendar\nIslamicCalendarView {}", {720, 680},
                    {{u"bundle"_s, QVariant::fromValue(sampleBundle())},
                     // The evening of 13 August 2026 in UTC: Friday 14 August in Makkah.
                     {u"now"_s,
                      double(QDateTime(QDate(2026, 8, 13), QTime(22, 0), Qt::UTC).toMSecsSinceEpoch())}});
                controller = root ? root->property("calendar").value<QObject*>() : nullptr;
                break;
            case View::Reader:
                quranWorld.emplace();
                harness.engine().rootContext()->setContextProperty(u"testSettings"_s,
                                                                   quranWorld->settings.get());
                root = harness.load(
                    "import QtQuick\nimport Orvane.Quran\nQuranReaderView { settings: testSettings\n"
                    "property int closes: 0; onCloseRequested: closes += 1 }",
                    {1280, 860});
                controller = root ? root->property("reader").value<QuranReaderController*>() : nullptr;
                if (auto* reader = qobject_cast<QuranReaderController*>(controller))
                    reader->setWindows({[] { return nullptr; }, [] { return QList<QWindow*>{}; }});
                EXPECT_TRUE(QTest::qWaitFor([] { return !QuranLibrary::shared().isDownloading(); }, 15000));
                settings = quranWorld->settings.get();
                break;
            case View::Learn:
                quranWorld.emplace();
                quranWorld->settings->setShowBlessingsSplash(false);
                world.setProperty("opens", 0);
                LearnAdhanController::setDefaultOpener([this](const QUrl&) {
                    world.setProperty("opens", world.property("opens").toInt() + 1);
                    return true;
                });
                harness.engine().rootContext()->setContextProperty(u"testSettings"_s,
                                                                   quranWorld->settings.get());
                root = harness.load(
                    "import QtQuick\nimport Orvane.Shell\nLearnAdhanView { settings: testSettings }",
                    {720, 480});
                break;
            case View::Face:
                home.emplace();
                clock.emplace("2026-03-09T10:05:09Z");
                root = harness.load("import QtQuick\nimport Orvane.Face\nClockFaceView {}", {1280, 880});
                controller = root ? root->findChild<ClockFaceController*>(u"faceController"_s) : nullptr;
                if (auto* face = qobject_cast<ClockFaceController*>(controller))
                    face->setBundle(sampleBundle());
                break;
            case View::CallOverlay:
                root = harness.load(
                    "import QtQuick\nimport Orvane.Face\nAdhanRingView { activeTitle: \"Adhan\"; stopLabel: "
                    "\"Stop\"\nproperty int stops: 0; onStopRequested: stops += 1 }",
                    {1280, 720});
                break;
        }
        harness.settle(150);
    }
    ~ViewUnderTest() { LearnAdhanController::setDefaultOpener(nullptr); }

    // The control a screen reader calls by `name`, anywhere in the window.
    QQuickItem* find(const QString& name) {
        std::function<QQuickItem*(QQuickItem*)> walk = [&](QQuickItem* item) -> QQuickItem* {
            if (item->objectName() == name) return item;
            QAccessibleInterface* a =
                item->isVisible() ? QAccessible::queryAccessibleInterface(item) : nullptr;
            // A day is called by its date, without the Hijri date after it.
            const QString said = a ? a->text(QAccessible::Name) : QString();
            if (said == name || said.startsWith(name + u',')) return item;
            for (QQuickItem* child : item->childItems())
                if (QQuickItem* found = walk(child)) return found;
            return nullptr;
        };
        return walk(harness.window().contentItem());
    }

    // Every item on show that a screen reader hears.
    QList<QQuickItem*> shownItems() {
        QList<QQuickItem*> items;
        std::function<void(QQuickItem*)> walk = [&](QQuickItem* item) {
            if (!item->isVisible()) return;
            if (QAccessible::queryAccessibleInterface(item)) items << item;
            for (QQuickItem* child : item->childItems()) walk(child);
        };
        walk(harness.window().contentItem());
        return items;
    }

    QVariant read(const QString& path, QQuickItem* control) {
        QStringList steps = path.split(u'.');
        const QString head = steps.takeFirst();
        QObject* object = head == "settings"_L1     ? settings
                          : head == "controller"_L1 ? controller
                          : head == "view"_L1       ? root
                          : head == "world"_L1      ? &world
                                                    : control;
        QVariant value = QVariant::fromValue(object);
        for (const QString& step : steps) {
            value = object ? object->property(step.toLatin1()) : QVariant();
            object = value.value<QObject*>();
        }
        return value;
    }
    void write(const QString& path, const QVariant& value, QQuickItem* control) {
        const qsizetype dot = path.lastIndexOf(u'.');
        QObject* object =
            path.startsWith("settings"_L1) ? settings : read(path.left(dot), control).value<QObject*>();
        ASSERT_TRUE(object && object->setProperty(path.mid(dot + 1).toLatin1(), value)) << path.toStdString();
    }
};

bool checked(QQuickItem* item) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(item);
    return a && a->state().checkable && a->state().checked;
}

class ScreenReaderActivation : public ::testing::TestWithParam<Activation> {
  protected:
    static void SetUpTestSuite() {
        qputenv("QT_QUICK_CONTROLS_STYLE", "Basic");
        QAccessible::setActive(true);
    }
};

TEST_P(ScreenReaderActivation, ActsAsAClickAndSaysWhichChoiceIsOn) {
    const Activation row = GetParam();
    ViewUnderTest view(row);
    ASSERT_NE(view.root, nullptr);
    QQuickItem* control = view.find(QString::fromUtf8(row.control));
    ASSERT_NE(control, nullptr);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    ASSERT_TRUE(a && a->actionInterface());
    EXPECT_EQ(a->role(), row.role);
    // The first action is a click: a switch's or a choice's toggle, any other control's press; none is
    // listed twice.
    const QStringList actions = a->actionInterface()->actionNames();
    const bool checkable = row.role == QAccessible::CheckBox || row.role == QAccessible::RadioButton;
    EXPECT_EQ(actions.value(0), checkable ? QAccessibleActionInterface::toggleAction()
                                          : QAccessibleActionInterface::pressAction())
        << actions.join(u", "_s).toStdString();
    EXPECT_EQ(QStringList(actions).removeDuplicates(), 0) << actions.join(u", "_s).toStdString();
    // Only the control the keys are on says it has the focus.
    for (QQuickItem* item : view.shownItems()) {
        if (QAccessible::queryAccessibleInterface(item)->state().focused) {
            EXPECT_EQ(item, view.harness.window().activeFocusItem()) << item;
        }
    }
    if (row.before.isValid()) view.write(QLatin1String(row.observed), row.before, control);
    view.harness.settle(20);
    if (row.chosenBefore) {
        EXPECT_TRUE(checked(view.find(QString::fromUtf8(row.chosenBefore))))
            << row.chosenBefore << " on open";
    }
    ASSERT_NE(view.read(QLatin1String(row.observed), control), row.after) << "nothing to change";

    a->actionInterface()->doAction(QString::fromLatin1(row.action));
    view.harness.settle(50);
    EXPECT_EQ(view.read(QLatin1String(row.observed), control), row.after);
    // Found again: a grid of days is made anew when the chosen day changes.
    // A switch, a choice or a chosen day says it is on.
    if (row.chosenBefore || row.role == QAccessible::CheckBox) {
        EXPECT_TRUE(checked(view.find(QString::fromUtf8(row.control))));
    }
    if (row.chosenBefore) {
        EXPECT_FALSE(checked(view.find(QString::fromUtf8(row.chosenBefore))))
            << row.chosenBefore << " still on";
    }
}

using R = QAccessible::Role;

INSTANTIATE_TEST_SUITE_P(
    EveryView, ScreenReaderActivation,
    ::testing::Values(
        Activation{View::Settings, "general", "Done", "Press", R::Button, "view.closes", 1},
        Activation{View::Settings, "general", "Adhan", "Press", R::PageTab, "controller.selectedPane",
                   u"adhan"_s, "General"},
        Activation{View::Settings, "adhan", "Location", "Press", R::PageTab, "controller.selectedPane",
                   u"location"_s, "Adhan"},
        Activation{View::Settings, "general", "Prayer times: 24-hour", "Press", R::RadioButton,
                   "settings.use24HourClock", true, "Prayer times: 12-hour"},
        Activation{View::Settings, "adhan", "Play length: 15 sec", "Toggle", R::RadioButton,
                   "settings.adhanLength", 15, "Play length: Full"},
        Activation{View::Settings, "general", "Clear", "Press", R::Button, "settings.displayName", u""_s,
                   nullptr, u"Amina"_s},
        Activation{View::Settings, "adhan", "Reset button name", "Press", R::Button,
                   "settings.learnAdhanButtonTitle", u"Learn Prayer"_s, nullptr, u"Learn"_s},
        Activation{View::Settings, "adhan", "Turn Off Adhan", "Press", R::Button, "settings.notifyMode",
                   u"off"_s},
        Activation{View::Settings, "adhan", "Vibrate", "Toggle", R::CheckBox, "settings.vibrate", true,
                   nullptr, false},
        Activation{View::Settings, "alerts", "Ring alarm on emergency alerts", "Press", R::CheckBox,
                   "settings.emergencyAlarm", true, nullptr, false},
        Activation{View::Settings, "account", "Launch at Login", "Toggle", R::CheckBox,
                   "controller.launchAtLogin", true},
        Activation{View::Settings, "general", "unitsBox", "Press", R::ComboBox, "control.popup.visible",
                   true},
        Activation{View::Calendar, "", "Hijri", "Toggle", R::RadioButton, "controller.useHijriGrid", true,
                   "Gregorian"},
        Activation{View::Calendar, "", "Gregorian", "Press", R::RadioButton, "controller.useHijriGrid", false,
                   "Hijri", true},
        Activation{View::Calendar, "", "Thursday, 20 August 2026", "Press", R::Button,
                   "controller.detailGregorian", u"Thursday, 20 August 2026"_s, "Friday, 14 August 2026"},
        Activation{View::Calendar, "", "Next year", "Press", R::Button, "controller.titleText",
                   u"August 2027"_s},
        Activation{View::Reader, "", "Full screen", "Press", R::Button, "controller.fullscreen", true},
        Activation{View::Reader, "", "Smaller text", "Press", R::Button, "settings.quranTextSize",
                   u"large"_s},
        Activation{View::Reader, "", "doneButton", "Press", R::Button, "view.closes", 1},
        Activation{View::Learn, "", "Open again", "Press", R::Button, "world.opens", 2},
        Activation{View::Face, "", "capsule_calendar", "Press", R::Button, "controller.showCalendar", true},
        Activation{View::CallOverlay, "", "Stop", "Press", R::Button, "view.stops", 1}));

}  // namespace
