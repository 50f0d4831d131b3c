// Alerts from the real window polling the simulator, on a session bus of
// the test's own with a stand-in for the desktop's notification service.

#include "E2eSupport.h"
#include "RadioAudio.h"
#include "alerts/qt/AlertWatcher.h"
#include "alerts/qt/SessionBusStandIn.h"
#include "monitor/qt/LogGridModel.h"

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
    const std::string logBefore = Logged(*m.form);
    m.radio->SetOverride(watched);
    ASSERT_TRUE(WaitUntil([&] { return service.summaries.size() == 1; }, 3000));
    EXPECT_EQ(Logged(*m.form), logBefore);
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
    EXPECT_EQ(Logged(*m.form).rfind("Metro / Police\tTac 2\t", 0), 0u) << Logged(*m.form);
    EXPECT_TRUE(m.Widget("Text3").startsWith("Alert: Tac 2")) << m.Widget("Text3").toStdString();
    EXPECT_EQ(service.summaries.size(), 1);
    // It stays there after its hit until a click lets it go, or the next
    // hit starts.
    QTest::mouseClick(m.form->findChild<QLineEdit*>("Text3"), Qt::LeftButton);
    EXPECT_FALSE(m.Widget("Text3").startsWith("Alert:"));
    m.Transmit(watched, 800);
    EXPECT_TRUE(m.Widget("Text3").startsWith("Alert: Tac 2"));
    m.radio->SetOverride(Receiving(Reception("Harbor", "Ops", "01544300")));
    EXPECT_TRUE(WaitUntil([&] { return !m.Widget("Text3").startsWith("Alert:"); }, 3000));
    // A window started with alerts to watch and no service says so at once.
    m.radio->SetOverride(Idle());
    m.Restart();
    EXPECT_TRUE(WaitUntil([&] { return m.Widget("Text3").startsWith("Desktop notifications are not available"); },
                          3000));
    QDBusConnection::disconnectFromBus("stand-in");
}

TEST(AlertsEndToEnd, ATwoTonePageHeardDuringAHitAlertsAndMarksItsLogRow) {
    PrivateSessionBus bus;
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
    bus.MakeTheSessionBus();
    StandInNotifications service;
    QDBusConnection standIn = QDBusConnection::connectToBus(bus.Address(), "stand-in");
    ASSERT_TRUE(standIn.registerObject("/org/freedesktop/Notifications", &service, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(standIn.registerService("org.freedesktop.Notifications"));
    // The radio's loudspeaker is the sound input, before the window first opens one.
    RadioAudio speaker(QT_TESTCASE_SOURCEDIR "/../scripts/test-audio");
    ASSERT_EQ(speaker.Error(), "");
    qputenv("PULSE_SERVER", QByteArray::fromStdString(speaker.Server()));

    Monitored m;
    m.folder.Write("alerts.txt", "tones=349.0,433.7 Station 5\r\n");
    m.Restart();
    RadioView fire = Receiving(Reception("County Fire", "Dispatch", "01544300"));
    m.radio->SetOverride(fire);
    ASSERT_TRUE(WaitUntil([&] { return m.form->Scanner().Alerts().ListeningForTones(); }, 3000));
    speaker.StartPage(349.0 * 1.01, 433.7 * 0.99);  // a pager's tones are seldom exact
    ASSERT_TRUE(WaitUntil([&] { return service.summaries.size() == 1; }, 6000));
    EXPECT_EQ(service.summaries.front(), "Station 5");
    fire.receiving = false;
    m.radio->SetOverride(fire);
    ASSERT_TRUE(WaitUntil([&] { return !Logged(*m.form).empty(); }, 5000));
    m.radio->SetOverride(Idle());
    EXPECT_FALSE(m.form->Scanner().Alerts().ListeningForTones());

    // The next hit carries a neighbouring page (3 % off): no alert, no mark.
    speaker.Silence();
    m.radio->SetOverride(Receiving(Reception("Harbor", "Ops", "01560000")));
    ASSERT_TRUE(WaitUntil([&] { return m.form->Scanner().Alerts().ListeningForTones(); }, 3000));
    speaker.StartPage(349.0 * 1.03, 433.7 * 1.03);
    WaitUntil([] { return false; }, 3500);
    m.Transmit(Reception("Harbor", "Ops", "01560000"), 100);
    auto* grid = qobject_cast<LogGridModel*>(m.Grid()->model());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(m.Cell(1, 2), "Dispatch");
    EXPECT_TRUE(grid->Marked(1));
    EXPECT_FALSE(grid->Marked(0));
    EXPECT_EQ(service.summaries.size(), 1);
    QDBusConnection::disconnectFromBus("stand-in");
}
