// The real program under a real window manager (Xvfb + openbox): the outer
// size of each restored layout, the title bar of the two smallest ones, and
// "Enable Always On Top" as the window manager sees it.
#include <QStandardPaths>
#include <QStringList>

#include "E2eSupport.h"
#include "app/qt/Twips.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

// An X server with openbox on a display of its own, stopped at the end.
class X11Session {
public:
    ~X11Session() {
        for (QProcess* p : {&openbox_, &xvfb_}) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
    bool Start() {
        // Two servers started at the same moment may pick the same display
        // number; the one that loses ends at once and is started again.
        for (int attempt = 0; attempt < 5; ++attempt) {
            xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
            if (WaitUntil([&] { return xvfb_.canReadLine() || xvfb_.state() == QProcess::NotRunning; }, 10000) &&
                xvfb_.canReadLine()) {
                break;
            }
            xvfb_.kill();
            xvfb_.waitForFinished(3000);
        }
        if (!xvfb_.canReadLine()) return false;
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("DISPLAY", ":" + QString::fromLatin1(xvfb_.readLine()).trimmed());
        env_.insert("QT_QPA_PLATFORM", "xcb");
        openbox_.setProcessEnvironment(env_);
        openbox_.start("openbox", {});
        return WaitUntil([&] { return Run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"); },
                         10000);
    }
    const QProcessEnvironment& Environment() const { return env_; }
    QString Run(const QString& program, const QStringList& args) const {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.start(program, args);
        p.waitForFinished(5000);
        return QString::fromLocal8Bit(p.readAllStandardOutput());
    }

private:
    QProcess xvfb_;
    QProcess openbox_;
    QProcessEnvironment env_;
};

// What the window manager reports of a window: its client size, the frame it
// drew around it (left, right, top, bottom) and whether it keeps it above.
struct Measured {
    QSize client;
    QList<int> frame{0, 0, 0, 0};
    bool above = false;
    QSize Outer() const { return client + QSize(frame[0] + frame[1], frame[2] + frame[3]); }
};

Measured Measure(const X11Session& x, const QString& window) {
    Measured m;
    for (const QString& line : x.Run("xwininfo", {"-id", window}).split('\n')) {
        const int value = line.section(':', 1).trimmed().toInt();
        if (line.trimmed().startsWith("Width:")) m.client.setWidth(value);
        if (line.trimmed().startsWith("Height:")) m.client.setHeight(value);
    }
    const QString props = x.Run("xprop", {"-id", window, "_NET_FRAME_EXTENTS", "_NET_WM_STATE"});
    const QStringList extents = props.section("_NET_FRAME_EXTENTS(CARDINAL) = ", 1).section('\n', 0, 0).split(", ");
    if (extents.size() == 4) {
        for (int i = 0; i < 4; ++i) m.frame[i] = extents[i].toInt();
    }
    m.above = props.contains("_NET_WM_STATE_ABOVE");
    return m;
}

bool Near(QSize a, QSize b) { return std::abs(a.width() - b.width()) <= 2 && std::abs(a.height() - b.height()) <= 2; }

}  // namespace

TEST(WindowManagerEndToEnd, RestoredLayoutsHaveTheirOuterSizesFramesAndStacking) {
    for (const char* tool : {"Xvfb", "openbox", "xprop", "xwininfo", "xdotool"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            GTEST_SKIP() << tool << " is not installed (scripts/deps installs xvfb, openbox, x11-utils, xdotool)";
        }
    }
    App();
    X11Session x;
    ASSERT_TRUE(x.Start()) << "Xvfb with openbox did not start";
    struct Case {
        int code;
        int width, height;  // outer size in twips; the full layout keeps its client area
        bool titlebar;
        bool alwaysOnTop;
    };
    const Case cases[] = {
        {1, 11625, 8370, true, false}, {2, 11745, 3150, true, true},  {3, 6870, 3150, true, false},
        {4, 4150, 3150, true, false},  {5, 4150, 2675, true, false},  {6, 4060, 2300, false, false},
        {7, 4560, 250, false, true},
    };
    for (const Case& c : cases) {
        AppFolder folder;
        folder.Write("pgm_settings.txt", "0\r\n0\r\n0\r\n" + std::to_string(c.alwaysOnTop) + "\r\n37\r\n37\r\n" +
                                             std::to_string(c.code) + "\r\n1500\r\n1500\r\n\"\"\r\n4\r\n");
        QProcess program;
        program.setProcessEnvironment(x.Environment());
        program.start(QUORVANE_EXE, {"--app-dir", folder.Path()});
        QString window;
        ASSERT_TRUE(WaitUntil(
            [&] {
                const QStringList search = {"search", "--onlyvisible", "--name", "^BC246T Quorvane$"};
                window = x.Run("xdotool", search).section('\n', 0, 0);
                return !window.isEmpty();
            },
            15000))
            << "no window for layout code " << c.code;
        const QSize expected(Px(c.width), Px(c.height));
        Measured m;
        // The frame comes a moment after the window: wait until the window
        // manager reports the frame the layout asks for.
        const bool settled = WaitUntil(
            [&] {
                m = Measure(x, window);
                return (m.frame[2] > 0) == c.titlebar && Near(c.code == 1 ? m.client : m.Outer(), expected);
            },
            10000);
        EXPECT_TRUE(settled) << "layout " << c.code << ": outer " << m.Outer().width() << "x" << m.Outer().height()
                             << " px, client " << m.client.width() << "x" << m.client.height() << ", frame top "
                             << m.frame[2] << "; expected " << expected.width() << "x" << expected.height();
        EXPECT_EQ(m.above, c.alwaysOnTop) << "layout " << c.code;
        program.kill();
        program.waitForFinished(3000);
    }
}

TEST(WindowManagerEndToEnd, FiveStepsDownAndUpGiveTheFullWindowBackAndAlwaysOnTopChangesInPlace) {
    for (const char* tool : {"Xvfb", "openbox", "xprop", "xwininfo", "xdotool"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
    }
    App();
    X11Session x;
    ASSERT_TRUE(x.Start()) << "Xvfb with openbox did not start";
    AppFolder folder;  // a first start: the window opens on the Settings tab
    QProcess program;
    program.setProcessEnvironment(x.Environment());
    program.start(QUORVANE_EXE, {"--app-dir", folder.Path()});
    const QStringList search = {"search", "--onlyvisible", "--name", "^BC246T Quorvane$"};
    QString window;
    ASSERT_TRUE(WaitUntil([&] { return !(window = x.Run("xdotool", search).section('\n', 0, 0)).isEmpty(); }, 15000));
    ASSERT_TRUE(WaitUntil([&] { return Measure(x, window).frame[2] > 0; }, 10000));
    // Five steps down (to the frameless display) and five up: the designed window again.
    const auto click = [&](QPoint at) {
        x.Run("xdotool", {"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()), "click", "1"});
    };
    const QPoint minus = TwipsRect(1830, 20, 195, 165).center(), plus = TwipsRect(2070, 20, 195, 165).center();
    for (int step = 0; step < 10; ++step) {
        const QSize before = Measure(x, window).client;
        // A click that came while a busy machine was still laying out the
        // last step is given again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            click(step < 5 ? minus : plus);
            if (WaitUntil([&] { return Measure(x, window).client != before; }, 3000)) break;
        }
    }
    EXPECT_TRUE(WaitUntil([&] { return Measure(x, window).client == QSize(Px(11625), Px(8370)); }, 3000))
        << Measure(x, window).client.width() << "x" << Measure(x, window).client.height();
    // "Enable Always On Top" on the Settings tab, in window pixels.
    const QPoint box = TwipsRect(60 + 120 + 150 + 300, 2880 + 2300 + 300 + 150, 10, 10).topLeft() + QPoint(0, 26);
    x.Run("xdotool", {"mousemove", "--window", window, QString::number(box.x()), QString::number(box.y()), "click", "1"});
    EXPECT_TRUE(WaitUntil([&] { return Measure(x, window).above; }, 5000)) << "the window is not kept above";
    EXPECT_EQ(x.Run("xdotool", search).section('\n', 0, 0), window);
    program.kill();
    program.waitForFinished(3000);
}
