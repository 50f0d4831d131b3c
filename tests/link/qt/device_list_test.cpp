// The "Device" list: what it shows and how a choice binds the port number.
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "app/qt/AppFiles.h"
#include "link/qt/DeviceList.h"
#include "link/qt/SerialDeviceScan.h"
#include "QtTestApp.h"

namespace quorvane {
namespace {

QApplication& App() { return test::QtApp(); }

const std::string kById = "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0";

TEST(DeviceList, AChoiceLinksTheChosenPortToTheStableNameButNeverReplacesAFile) {
    App();
    QTemporaryDir dir;
    std::vector<SerialPortFacts> present = {{"/dev/ttyUSB98", "", "FT232R", "FTDI", 0x0403, 0x6001}};
    DeviceList list(dir.path(), nullptr, [&](const QStringList&) { return present; });
    list.show();
    QSignalSpy changed(&list, &DeviceList::ListChanged);
    QSignalSpy bound(&list, &DeviceList::PortBound);
    QSignalSpy refused(&list, &DeviceList::BindRefused);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.currentIndex(), -1);  // port 1 opens /dev/ttyUSB0, which is not listed

    present.push_back({"/dev/ttyUSB97", kById, "USB-Serial Controller", "Prolific", 0x067b, 0x2303});
    list.Refresh();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toString().toStdString(), "Serial device plugged in: " + kById.substr(18));
    EXPECT_TRUE(list.itemText(0).endsWith("likely the scanner"));

    const QString com2 = JoinPath(dir.path(), "com2");
    QFile::link("/dev/ttyS9", com2);  // an old link is replaced
    list.SetPortNumber(2);
    emit list.activated(0);
    ASSERT_EQ(bound.count(), 1);
    EXPECT_EQ(bound[0][0].toInt(), 2);
    EXPECT_EQ(QFileInfo(com2).symLinkTarget().toStdString(), kById);
    EXPECT_EQ(list.currentIndex(), 0);  // the list shows what port 2 opens now

    const QString com3 = JoinPath(dir.path(), "com3");
    ASSERT_TRUE(WriteFileAtomically(com3, "tcp://shack-pi:2000\r\n"));
    list.SetPortNumber(3);
    emit list.activated(1);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_TRUE(refused[0][1].toString().contains("network address tcp://shack-pi:2000"));
    EXPECT_EQ(ReadFileBytes(com3), "tcp://shack-pi:2000\r\n");
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(changed.count(), 1);  // rescanning the same devices says nothing
}

struct PseudoTerminal {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QString slave = master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0
                        ? QString::fromLocal8Bit(::ptsname(master))
                        : QString();
    ~PseudoTerminal() { Close(); }
    void Close() {
        if (master >= 0) ::close(master);
        master = -1;
    }
};

// The real scan: a pseudo-terminal the port entry links to is listed and shown
// as what the port opens (this machine may have no USB serial device at all);
// once port 1 is linked to another device it stays in the list while it is
// there, and only its end is told as an unplugging.
TEST(DeviceList, ThePseudoTerminalAPortLinksToIsListedAndStaysWhenThePortIsLinkedElsewhere) {
    App();
    PseudoTerminal first, second;
    ASSERT_FALSE(first.slave.isEmpty());
    ASSERT_FALSE(second.slave.isEmpty());
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::link(first.slave, JoinPath(dir.path(), "com1")));
    ASSERT_TRUE(QFile::link(second.slave, JoinPath(dir.path(), "com2")));

    DeviceList list(dir.path());
    list.show();
    QSignalSpy changed(&list, &DeviceList::ListChanged);
    const int shown = list.findText(first.slave + " - pseudo-terminal");
    EXPECT_GE(shown, 0);
    EXPECT_EQ(list.currentIndex(), shown);
    EXPECT_EQ(list.toolTip(), first.slave + " - pseudo-terminal");
    EXPECT_EQ(list.count(), static_cast<int>(SerialDeviceEntries(ScanSerialPorts(dir.path())).size()));

    QFile::remove(JoinPath(dir.path(), "com2"));
    emit list.activated(list.findText(second.slave + " - pseudo-terminal"));
    list.Refresh();
    EXPECT_EQ(QFileInfo(JoinPath(dir.path(), "com1")).symLinkTarget(), second.slave);
    EXPECT_GE(list.findText(first.slave + " - pseudo-terminal"), 0);
    EXPECT_EQ(list.currentText(), second.slave + " - pseudo-terminal");
    EXPECT_EQ(changed.count(), 0);

    first.Close();
    list.Refresh();
    EXPECT_LT(list.findText(first.slave + " - pseudo-terminal"), 0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toString(), "Serial device unplugged: " + first.slave);
}

}  // namespace
}  // namespace quorvane
