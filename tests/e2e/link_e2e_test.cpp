// The real main window on a simulated scanner: start-up, Run, keys on the
// wire, a vanished device and its return.
#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <QComboBox>
#include <QPushButton>
#include <QLabel>

#include "E2eSupport.h"
#include "link/qt/SerialLink.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

TEST(LinkEndToEnd, SavedPortPollsAt57600SendsKeysAndSurvivesAVanishedScanner) {
    Panel p;  // the saved port, a radio that logs its wire
    EXPECT_EQ(p.form->findChild<QPushButton*>("Command2")->text(), "Stop");
    // The line settings as the device itself has them.
    const int fd = ::open(p.radio->SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(cfgetospeed(&tio), B57600);
    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    ASSERT_TRUE(WaitUntil([&] { return p.radio->ReceivedCommands().size() >= 6; }, 3000));  // polling by itself

    size_t before = p.radio->ReceivedCommands().size();
    QTest::mouseClick(Key(*p.form, "key_7"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !NonPollCommands(*p.radio, before).empty(); }, 3000));
    EXPECT_EQ(NonPollCommands(*p.radio, before), std::vector<std::string>{"KEY,7,P"});
    // One line, ended by its CR alone: no LF reached the radio.
    EXPECT_EQ(p.folder.Read("wire.log").find("\\x0A"), std::string::npos);

    // Lock: its second after the function key, and no poll request between the three.
    before = p.radio->ReceivedCommands().size();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(Key(*p.form, "key_lock"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return NonPollCommands(*p.radio, before).size() >= 3; }, 3000));
    EXPECT_GE(timer.elapsed(), 1000);
    const auto all = p.radio->ReceivedCommands();
    const auto at = std::find(all.begin() + static_cast<long>(before), all.end(), "KEY,F,H");
    ASSERT_NE(at, all.end());
    EXPECT_EQ(std::vector<std::string>(at, std::min(at + 3, all.end())),
              (std::vector<std::string>{"KEY,F,H", "KEY,!,P", "KEY,F,R"}));

    p.radio.reset();  // the other end of the line is gone
    ASSERT_TRUE(WaitUntil([&] { return Text3Of(*p.form) == "Scanner disconnected - retrying"; }, 3000));
    EXPECT_EQ(p.form->findChild<QPushButton*>("Command2")->text(), "Stop");
    // No busy loop while it waits: well under a fifth of a core.
    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    WaitUntil([] { return false; }, 1500);
    EXPECT_LT((ProcessCpuSeconds() - cpuBefore) / (wall.elapsed() / 1000.0), 0.2);
    auto back = StartRadio(p.folder);  // a new radio behind the same link name
    EXPECT_TRUE(WaitUntil([&] { return back->ReceivedCommands().size() >= 3; }, 3000));
    EXPECT_NE(Text3Of(*p.form), "Scanner disconnected - retrying");

    // A radio that only falls silent, while the port's link is pointed at
    // another one: the line follows the link by itself, with no Stop and Run.
    back->SetAnswering(false);
    ASSERT_TRUE(WaitUntil([&] { return Text3Of(*p.form) == "No reply"; }, 5000));
    auto other = StartRadio(p.folder);
    EXPECT_TRUE(WaitUntil([&] { return other->ReceivedCommands().size() >= 3; }, 6000));
    EXPECT_TRUE(WaitUntil([&] { return Text3Of(*p.form) != "No reply"; }, 3000)) << Text3Of(*p.form).toStdString();
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
    // A second program on the same scanner is told the port is busy, and
    // who has it (here: this very test).
    SerialLink second;
    const QString busy = second.Open(QString::fromStdString(radio->SlavePath()), 57600);
    EXPECT_TRUE(busy.startsWith("busy: ")) << busy.toStdString();
    EXPECT_TRUE(busy.contains(QString("(process %1) has it open").arg(QCoreApplication::applicationPid())))
        << busy.toStdString();
}

TEST(LinkEndToEnd, RunOnAMissingPortSaysWhyAndRunOnAPresentOneWritesTheSettings) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);  // port 1 only: port 5 is /dev/ttyUSB4, absent here
    Form1 form(folder.Path());
    auto* ports = form.findChild<QComboBox*>("Combo1");
    auto* speeds = form.findChild<QComboBox*>("Combo2");
    auto* run = form.findChild<QPushButton*>("Command2");
    const auto choose = [](QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    };
    EXPECT_EQ(Text3Of(form), "Select COM Port");
    EXPECT_FALSE(speeds->isEnabled());
    choose(ports, 4);
    EXPECT_EQ(Text3Of(form), "Select Port Speed");
    choose(speeds, 0);
    EXPECT_EQ(Text3Of(form), "Hit Run");
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Run");
    EXPECT_EQ(Text3Of(form), "Port 5 (/dev/ttyUSB4) not found");
    EXPECT_FALSE(folder.Exists("com_settings.txt"));
    // A key press with the port closed sends nothing and says what to do.
    QTest::mouseClick(Key(form, "key_1"), Qt::LeftButton);
    EXPECT_EQ(Text3Of(form), "Hit Run first");

    choose(ports, 0);
    // Port 1 is a link in the app folder: the device it leads to is shown whole.
    auto* device = form.findChild<QLabel*>("port_device");
    EXPECT_EQ(device->text().toStdString(), radio->SlavePath());
    EXPECT_EQ(device->toolTip().toStdString(), folder.FilePath("com1") + " links to " + radio->SlavePath());
    choose(speeds, 2);
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Stop");
    EXPECT_EQ(folder.Read("com_settings.txt"), "0\r\n2\r\n100\r\n");
    EXPECT_FALSE(ports->isEnabled());
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Run");
    EXPECT_TRUE(ports->isEnabled());
    EXPECT_FALSE(form.Scanner().Link().IsOpen());
}
