// Alerts on a private session bus, with a stand-in for the desktop's
// notification service, and the "Alerts" box over alerts.txt.
#include <QCheckBox>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

#include "alerts/qt/AlertWatcher.h"
#include "alerts/qt/AlertsBox.h"
#include "alerts/qt/SessionBusStandIn.h"
#include "QtTestApp.h"

namespace quorvane {
namespace {

constexpr int kDeadlineMs = 5000;

// The private bus, up before anything asks for the session bus.
class PrivateSessionBusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        bus_ = std::make_unique<PrivateSessionBus>();
        ASSERT_FALSE(bus_->Address().isEmpty()) << "dbus-daemon did not start";
        bus_->MakeTheSessionBus();
    }
    void TearDown() override { bus_.reset(); }

private:
    std::unique_ptr<PrivateSessionBus> bus_;
};
const auto* const kBus = ::testing::AddGlobalTestEnvironment(new PrivateSessionBusEnvironment);

QApplication& App() { return test::QtApp(); }

TickOutcome Tick(std::optional<TickAction> action = std::nullopt) {
    TickOutcome outcome;
    outcome.Accepted = true;
    if (action) outcome.Actions.push_back(std::move(*action));
    return outcome;
}

LiveHit Hit(std::string system, std::string group, std::string channel, std::string talkgroup = "") {
    return LiveHit{std::move(system), std::move(group), std::move(channel), "08561125", " 856.1125",
                   std::move(talkgroup), true, false};
}

class AlertWatcherTest : public ::testing::Test {
protected:
    // The application and the list come first: the watcher reads the list
    // and opens the session bus when it is made.
    void SetUp() override {
        App();
        ASSERT_TRUE(WriteFileAtomically(dir.filePath("alerts.txt"), "# watched\r\npolice\r\n"));
        watcher = std::make_unique<AlertWatcher>(dir.filePath("alerts.txt"));
        watcher->SetFallback([this](const QString& line) { fallbacks << line; });
    }
    // One matching hit on several ticks, a hit that matches nothing, then a
    // second matching hit: as alerts keep their order, the second one's
    // arrival shows that nothing else came before it.
    void PlayHits() {
        watcher->Follow(Tick(HitStarted{Hit("Metro Trunk", "Police", "North Ops", "12345")}));
        watcher->Follow(Tick());
        watcher->Follow(Tick(HitRenamed{Hit("Metro Trunk", "Police", "North Ops 2", "12345")}));
        watcher->Follow(Tick(HitEnded{}));
        watcher->Follow(Tick(HitStarted{Hit("Harbor", "Port", "Ops")}));
        watcher->Follow(Tick(HitEnded{}));
        watcher->Follow(Tick(HitStarted{Hit("Metro Trunk", "Police", "PD Tac", "2417")}));
    }
    QTemporaryDir dir;
    std::unique_ptr<AlertWatcher> watcher;
    QStringList fallbacks;
};

TEST_F(AlertWatcherTest, AMatchingHitGivesOneNotificationAndOthersNone) {
    StandInNotifications service;
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "stand-in");
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/Notifications", &service, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.Notifications"));
    watcher->SetSound(true);
    QSignalSpy alerted(watcher.get(), &AlertWatcher::Alerted);

    PlayHits();
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.summaries.size() >= 2; }, kDeadlineMs));
    EXPECT_EQ(service.summaries, QStringList({"North Ops", "PD Tac"}));
    EXPECT_EQ(service.bodies[0], "Metro Trunk / Police\nNorth Ops\nID 12345");
    EXPECT_EQ(service.hints.value("sound-name").toString(), "message-new-instant");
    EXPECT_EQ(alerted.count(), 2);
    EXPECT_TRUE(fallbacks.isEmpty());
    bus.unregisterService("org.freedesktop.Notifications");
    QDBusConnection::disconnectFromBus("stand-in");
}

TEST_F(AlertWatcherTest, WithoutANotificationServiceTheAlertGoesToTheFallback) {
    QSignalSpy alerted(watcher.get(), &AlertWatcher::Alerted);
    PlayHits();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fallbacks.size() >= 2; }, kDeadlineMs));
    // Each failed call reports on its own; two hits asked at once may be told
    // in either order.
    QStringList told = fallbacks;
    told.sort();
    EXPECT_EQ(told, QStringList({"Alert: North Ops, ID 12345", "Alert: PD Tac, ID 2417"}));
    EXPECT_EQ(alerted.count(), 2);

    // No session bus at all: the same, at once.
    AlertWatcher busless(dir.filePath("alerts.txt"), nullptr, QDBusConnection("no bus"));
    QStringList lines;
    busless.SetFallback([&](const QString& line) { lines << line; });
    busless.Follow(Tick(HitStarted{Hit("Metro", "Police", "North")}));
    EXPECT_EQ(lines, QStringList({"Alert: North, 856.1125 MHz"}));
    EXPECT_TRUE(busless.Marks(LogRowOf("Metro / Police\tNorth\t 856.1125\t\t1\t2\t3\r\n")));
}

TEST_F(AlertWatcherTest, TheBoxSavesTheListAndFollowsTheFileOnDisk) {
    const QString path = dir.filePath("other.txt");
    AlertWatcher other(path, nullptr, QDBusConnection("no bus"));
    AlertsBox box(&other);
    box.setGeometry(0, 0, 240, 90);  // its room on the Settings tab
    box.show();
    const auto* status = box.findChild<QLabel*>("alerts_status");
    EXPECT_EQ(status->text(), "0 entries");  // no file yet

    // Made, then replaced twice by renaming into place, as editors save.
    for (const char* text : {"fire\r\n", "fire\r\n154.43\r\n", "# none\n"}) {
        ASSERT_TRUE(WriteFileAtomically(path, text));
        ASSERT_TRUE(QTest::qWaitFor([&] { return other.File().Bytes() == text; }, kDeadlineMs)) << text;
        EXPECT_EQ(box.Editor()->toPlainText(), AlertListText(text));
    }
    EXPECT_EQ(box.Editor()->toPlainText(), "# none");

    box.Editor()->setPlainText("Caf\u00e9 \u201a\n12345");  // what the display shows for 0xE9 and 0x82
    box.Save();
    EXPECT_EQ(ReadFileBytes(path), "Caf\xe9 \x82\r\n12345\r\n");
    EXPECT_EQ(status->text(), "Saved: 2 entries");
    // Whole, on a line of its own the width of the box.
    EXPECT_LE(status->fontMetrics().horizontalAdvance(status->text()), status->contentsRect().width());
    box.SoundCheck()->setChecked(true);
    EXPECT_TRUE(other.Sound());

    // While the user edits, a change on disk does not overwrite the typing.
    box.Editor()->clear();
    QTest::keyClicks(box.Editor(), "typing");
    ASSERT_TRUE(WriteFileAtomically(path, "north\r\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.File().List().Entries().size() == 1; }, kDeadlineMs));
    EXPECT_EQ(box.Editor()->toPlainText(), "typing");
    EXPECT_TRUE(status->text().contains("changed on disk"));
}

}  // namespace
}  // namespace quorvane
