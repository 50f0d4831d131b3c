// Alerts from the real window polling the simulator, on a session bus of
// the test's own with a stand-in for the desktop's notification service.
#include <QDBusConnection>

#include "E2eSupport.h"
#include "alerts/qt/SessionBusStandIn.h"

using namespace quorvane;
using namespace quorvane::e2e;

TEST(AlertsEndToEnd, AWatchedHitIsNotifiedOnceWhileOnOthersNeverAndWithoutTheServiceTheLogGoesOn) {
    PrivateSessionBus bus;
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
    bus.MakeTheSessionBus();  // before the window asks for the session bus
    StandInNotifications service;
    QDBusConnection standIn = QDBusConnection::connectToBus(bus.Address(), "stand-in");
    ASSERT_TRUE(standIn.registerObject("/org/freedesktop/Notifications", &service, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(standIn.registerService("org.freedesktop.Notifications"));

    Monitored m;
    m.folder.Write("alerts.txt", "# the police talkgroups\r\npolice\r\n");
    m.Restart();
    RadioView watched = Receiving(Trunked("Metro Trunk", "ID:12345", "08552375", "12345", "Metro", "Police", "Dispatch"));

    // Told while the transmission is on: before the hit is logged (at its end).
    const std::string logBefore = m.form->Log().Text();
    m.radio->SetOverride(watched);
    ASSERT_TRUE(WaitUntil([&] { return service.summaries.size() == 1; }, 3000));
    EXPECT_EQ(m.form->Log().Text(), logBefore);
    EXPECT_EQ(service.summaries.front(), "Dispatch");
    // Once per hit, not once per tick; a hit nobody watches is not told.
    m.Transmit(watched, 800);
    m.Transmit(Reception("Harbor", "Ops", "01544300"), 800);
    EXPECT_EQ(service.summaries.size(), 1);

    // The service leaves the desktop: the next watched hit is told in Text3
    // instead, and still logged.
    ASSERT_TRUE(standIn.unregisterService("org.freedesktop.Notifications"));
    watched.talkgroup = "Tac 2";
    watched.tgid = "2417";
    m.Transmit(watched, 800);
    EXPECT_EQ(m.form->Log().Text().rfind("Metro / Police\tTac 2\t", 0), 0u) << m.form->Log().Text();
    EXPECT_TRUE(m.Widget("Text3").startsWith("Alert: Tac 2")) << m.Widget("Text3").toStdString();
    EXPECT_EQ(service.summaries.size(), 1);
    QDBusConnection::disconnectFromBus("stand-in");
}
