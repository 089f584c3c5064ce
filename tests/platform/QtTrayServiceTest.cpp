// What the Qt tray service makes of the icon's activations: a single click only once no second
// click can follow, a double-click alone, and the menu of a host that reports a finished click.
#include "platform/x11/QtTrayService.h"

#include "support/TestApplication.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::string> events;
    TrayIconEvents handlers()
    {
        TrayIconEvents e;
        e.clicked = [this] { events.push_back("click"); };
        e.doubleClicked = [this] { events.push_back("double"); };
        e.menuRequested = [this](Point) { events.push_back("menu"); };
        return e;
    }
};

void activate(QtTrayService& service, QSystemTrayIcon::ActivationReason reason)
{
    emit service.findChild<QSystemTrayIcon*>()->activated(reason);
}

} // namespace

TEST(QtTrayService, AClickWaitsForTheDoubleClickTimeAndADoubleClickRunsAlone)
{
    testApplication();
    QtTrayService service{QIcon()};
    Recorder recorder;
    service.setEvents(recorder.handlers());
    ASSERT_NE(service.findChild<QSystemTrayIcon*>(), nullptr);

    QElapsedTimer clock;
    clock.start();
    activate(service, QSystemTrayIcon::Trigger);
    EXPECT_TRUE(recorder.events.empty()) << "a first click may still become a double-click";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !recorder.events.empty(); }, 5000));
    EXPECT_GE(clock.elapsed(), QApplication::doubleClickInterval() - 20);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"click"});

    // Both presses of a double-click may report a click; only the double-click runs.
    recorder.events.clear();
    activate(service, QSystemTrayIcon::Trigger);
    activate(service, QSystemTrayIcon::Trigger);
    activate(service, QSystemTrayIcon::DoubleClick);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"double"});

    // A host that reports a finished right click (no press reached the icon) opens the menu now.
    recorder.events.clear();
    activate(service, QSystemTrayIcon::Context);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"menu"});
}
