// The real main window on a simulated scanner: start-up, Run, keys on the
// wire, a vanished device and its return.
#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "ui/SerialLink.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString Text3Of(Form1& form) { return form.findChild<QLineEdit*>("Text3")->text(); }

}  // namespace

TEST(LinkEndToEnd, StartUpWithSavedSettingsOpensThePortAt57600EightNOne) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);
    folder.SaveComSettings();
    Form1 form(folder.Path());
    EXPECT_TRUE(form.Running());
    EXPECT_EQ(form.findChild<QPushButton*>("Command2")->text(), "Stop");
    // The line settings as the device itself has them.
    const int fd = ::open(radio->SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(cfgetospeed(&tio), B57600);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    // Polling starts by itself.
    EXPECT_TRUE(WaitUntil([&] { return radio->ReceivedCommands().size() >= 6; }, 3000));
}

TEST(LinkEndToEnd, ClickingKeySevenPutsExactlyItsCommandOnTheWire) {
    App();
    AppFolder folder;
    SimulatorOptions options;
    options.log_path = folder.FilePath("wire.log");
    auto radio = StartRadio(folder, kQuietScenario, options);
    folder.SaveComSettings();
    Form1 form(folder.Path());
    form.show();
    const size_t before = radio->ReceivedCommands().size();
    QTest::mouseClick(Key(form, "key_7"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !NonPollCommands(*radio, before).empty(); }, 3000));
    EXPECT_EQ(NonPollCommands(*radio, before), std::vector<std::string>{"KEY,7,P"});
    // One line, ended by its CR alone: no LF reached the radio.
    EXPECT_EQ(folder.Read("wire.log").find("\\x0A"), std::string::npos);
}

TEST(LinkEndToEnd, KeyLockKeepsItsSecondAfterTheFunctionKeyAndNothingInterleaves) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);
    folder.SaveComSettings();
    Form1 form(folder.Path());
    form.show();
    ASSERT_TRUE(WaitUntil([&] { return radio->ReceivedCommands().size() >= 3; }, 3000));
    const size_t before = radio->ReceivedCommands().size();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(Key(form, "key_lock"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return NonPollCommands(*radio, before).size() >= 3; }, 3000));
    EXPECT_GE(timer.elapsed(), 1000);
    const auto all = radio->ReceivedCommands();
    std::vector<std::string> fromLock(all.begin() + static_cast<long>(before), all.end());
    const auto at = std::find(fromLock.begin(), fromLock.end(), "KEY,F,H");
    ASSERT_NE(at, fromLock.end());
    // The three key commands follow each other with no poll request between them.
    EXPECT_EQ(std::vector<std::string>(at, at + 3), (std::vector<std::string>{"KEY,F,H", "KEY,!,P", "KEY,F,R"}));
}

TEST(LinkEndToEnd, HighBytesFromTheScannerArriveUnchanged) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);
    SerialLink link;
    ASSERT_EQ(link.Open(QString::fromStdString(radio->SlavePath()), 57600), "");
    std::string every;
    for (int b = 0x80; b <= 0xFF; ++b) every += static_cast<char>(b);
    radio->SendRaw(every + "\r");
    std::string got;
    ASSERT_TRUE(WaitUntil([&] {
        if (link.BytesWaiting() > 0) got += link.ReadAvailable();
        return got.size() >= every.size() + 1;
    }, 3000));
    EXPECT_EQ(got, every + "\r");
    // A second program on the same scanner is told the port is busy.
    SerialLink second;
    EXPECT_EQ(second.Open(QString::fromStdString(radio->SlavePath()), 57600), "busy");
}

TEST(LinkEndToEnd, RunOnAMissingPortStaysStoppedAndSaysWhy) {
    App();
    AppFolder folder;  // no com1 link: port 5 is /dev/ttyUSB4, absent here
    Form1 form(folder.Path());
    auto* ports = form.findChild<QComboBox*>("Combo1");
    auto* speeds = form.findChild<QComboBox*>("Combo2");
    auto* run = form.findChild<QPushButton*>("Command2");
    EXPECT_EQ(Text3Of(form), "Select COM Port");
    EXPECT_FALSE(speeds->isEnabled());
    ports->setCurrentIndex(4);
    emit ports->activated(4);
    EXPECT_EQ(Text3Of(form), "Select Port Speed");
    speeds->setCurrentIndex(0);
    emit speeds->activated(0);
    EXPECT_EQ(Text3Of(form), "Hit Run");
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Run");
    EXPECT_FALSE(form.Running());
    EXPECT_EQ(Text3Of(form), "Port 5 (/dev/ttyUSB4) not found");
    EXPECT_FALSE(folder.Exists("com_settings.txt"));
    // A key press with the port closed sends nothing and says what to do.
    QTest::mouseClick(Key(form, "key_1"), Qt::LeftButton);
    EXPECT_EQ(Text3Of(form), "Hit Run first");
}

TEST(LinkEndToEnd, RunWritesTheSettingsAndStopClosesThePort) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);
    Form1 form(folder.Path());
    auto* ports = form.findChild<QComboBox*>("Combo1");
    auto* speeds = form.findChild<QComboBox*>("Combo2");
    auto* run = form.findChild<QPushButton*>("Command2");
    ports->setCurrentIndex(0);
    emit ports->activated(0);
    speeds->setCurrentIndex(2);
    emit speeds->activated(2);
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Stop");
    EXPECT_EQ(folder.Read("com_settings.txt"), "0\r\n2\r\n100\r\n");
    EXPECT_FALSE(ports->isEnabled());
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Run");
    EXPECT_TRUE(ports->isEnabled());
    EXPECT_FALSE(form.Link().IsOpen());
}

TEST(LinkEndToEnd, AVanishedScannerIsRetriedQuietlyAndPickedUpAgain) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);
    folder.SaveComSettings();
    Form1 form(folder.Path());
    ASSERT_TRUE(WaitUntil([&] { return radio->ReceivedCommands().size() >= 6; }, 3000));

    radio.reset();  // the other end of the line is gone
    ASSERT_TRUE(WaitUntil([&] { return Text3Of(form) == "Scanner disconnected - retrying"; }, 3000));
    EXPECT_EQ(form.findChild<QPushButton*>("Command2")->text(), "Stop");
    // No busy loop while it waits: well under a fifth of a core.
    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    WaitUntil([] { return false; }, 1500);
    EXPECT_LT((ProcessCpuSeconds() - cpuBefore) / (wall.elapsed() / 1000.0), 0.2);

    auto back = StartRadio(folder);  // a new radio behind the same link name
    EXPECT_TRUE(WaitUntil([&] { return back->ReceivedCommands().size() >= 3; }, 3000));
    EXPECT_NE(Text3Of(form), "Scanner disconnected - retrying");
}
