// The browser remote on the simulator: pages (Qt WebSocket clients here)
// follow the real window and press its keys; requests without the token,
// from another site or for another host are refused with nothing reaching
// the scanner; garbage, huge heads, silent clients and many sockets never hold
// the poll; and the real program as a station without a screen, with the
// real page driven in headless Chromium.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSpinBox>
#include <iostream>

#include "WebRemoteSupport.h"
#include "monitor/qt/Poller.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

// A file only its owner may read or write.
bool OwnerOnly(const QString& path) {
    constexpr auto kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                             QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const auto permissions = QFileInfo(path).permissions();
    return QFileInfo::exists(path) && (permissions & kOthers) == 0 && permissions.testFlag(QFileDevice::ReadOwner);
}

}  // namespace

TEST(WebRemoteEndToEnd, PagesFollowTheWindowPressItsKeysThroughTheSameQueueAndListen) {
    RadioAudio& speaker = Speaker();
    ASSERT_EQ(speaker.Error(), "");
    RemoteWindow w;
    Page page(QString::fromStdString(w.origin));
    ASSERT_TRUE(page.Open(w.control));
    ASSERT_TRUE(page.Sees("hello", [](const Json& m) { return m["role"] == "control"; }));
    EXPECT_TRUE(page.Sees("display", [](const Json& m) { return m["line1"] == "  Scanning...   "; }));

    // The display changes on the radio: the window and the page show it.
    w.radio->SetOverride(Reception("County Fire", "Dispatch 1", "01544300"));
    EXPECT_TRUE(page.Sees("display", [](const Json& m) {
        return m["line1"] == "County Fire     " && m["line2"] == "Dispatch 1      " && m["freq"] == " 154.4300";
    }));
    EXPECT_TRUE(w.Widget("Text1").startsWith("County Fire"));

    // A key from the page reaches the radio as the window's key would.
    size_t mark = w.radio->ReceivedCommands().size();
    page.Press("key_hold");
    ASSERT_TRUE(WaitUntil([&] { return !NonPollCommands(*w.radio, mark).empty(); }, 3000));
    EXPECT_EQ(NonPollCommands(*w.radio, mark), Commands{"KEY,H,P"});

    // A hit: its row appears on the page as in the window's log.
    w.Transmit(Reception("County Fire", "Dispatch 1", "01544300"), 1200);
    EXPECT_TRUE(page.Sees("hit", [](const Json& m) {
        return m["row"][0] == "County Fire / " && m["row"][1] == "Dispatch 1" && m["row"][2] == " 154.4300";
    })) << Logged(*w.form);

    // Twenty quick presses arrive all, in order, none twice (at the remote's
    // pace, between the poll's rounds).
    Commands expected;
    mark = w.radio->ReceivedCommands().size();
    for (int i = 0; i < 20; ++i) {
        page.Press("key_" + std::to_string(i % 10));
        expected.push_back("KEY," + std::to_string(i % 10) + ",P");
    }
    ASSERT_TRUE(WaitUntil([&] { return NonPollCommands(*w.radio, mark).size() >= 20; }, 15000));
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(NonPollCommands(*w.radio, mark), expected);

    // Listen: the sound input reaches the page less than a second behind.
    page.socket.sendTextMessage(R"({"type":"listen","on":true})");
    ASSERT_TRUE(WaitUntil([&] { return page.sound.size() >= 3; }, 5000));
    const auto toneStart = speaker.StartTone();
    ASSERT_TRUE(WaitUntil([&] { return page.sound.back().second > 1000; }, 3000));
    const auto heard = std::find_if(page.sound.begin(), page.sound.end(), [&](const auto& frame) {
        return frame.first > toneStart && frame.second > 1000;
    });
    ASSERT_NE(heard, page.sound.end());
    EXPECT_LT(heard->first - toneStart, std::chrono::milliseconds(1000));
    page.socket.sendTextMessage(R"({"type":"listen","on":false})");
    speaker.Silence();

    // A view-only page sees everything and presses nothing.
    Page watcher(QString::fromStdString(w.origin));
    ASSERT_TRUE(watcher.Open(w.view));
    EXPECT_TRUE(watcher.Sees("hello", [](const Json& m) { return m["role"] == "view"; }));
    EXPECT_TRUE(watcher.Sees("log", [](const Json& m) { return !m["rows"].empty(); }));
    mark = w.radio->ReceivedCommands().size();
    watcher.Press("key_scan");
    EXPECT_TRUE(watcher.Sees("refused", [](const Json& m) { return m["reason"] == "View only"; }));
    WaitUntil([] { return false; }, 300);
    EXPECT_TRUE(NonPollCommands(*w.radio, mark).empty());
}

// A Host of another name (DNS rebinding) is refused even with the right token and origin.
TEST(WebRemoteEndToEnd, RequestsWithoutTheTokenFromAnotherSiteOrForAnotherHostAreRefusedAndReachNothing) {
    RemoteWindow w;
    const std::string control = Query(w.control), view = Query(w.view), port = std::to_string(w.port);
    const std::string same = "Origin: " + w.origin + "\r\n";
    const std::string other = "Origin: http://evil.example\r\n";
    const std::string upgrade = "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                                "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
    const std::string evil = "rebind.example:" + port;
    const std::string body = KeyBody();
    const std::string length = "Content-Length: " + std::to_string(body.size()) + "\r\n";
    const std::string refused = "Quorvane web remote: ", rebound = "Unknown host name";
    struct Case {
        std::string request;
        int status;
        std::string said;  // in the answer of a refusal
    } cases[] = {
        {w.Head("GET /?" + control), 200, ""},
        {w.Head("GET /?" + view), 200, ""},
        {w.Head("GET /"), 200, ""},
        {w.Head("GET /?token=0123456789abcdef0123456789abcdef"), 401, refused},
        {w.Head("GET /favicon.ico?" + control), 404, ""},
        {w.Head("GET /ws?" + control, upgrade + same), 101, ""},
        {w.Head("GET /ws", upgrade + same), 401, refused},
        {w.Head("GET /ws?" + control, upgrade + other), 403, refused},
        {w.Head("GET /ws?" + control, upgrade + "Origin: null\r\n"), 403, refused},
        {w.Head("POST /key?" + control, same + length) + body, 204, ""},
        {w.Head("POST /key", same + length) + body, 401, refused},
        {w.Head("POST /key?" + control, other + length) + body, 403, refused},
        {w.Head("POST /key?" + view, same + length) + body, 403, refused},
        {w.Head("POST /key", "Authorization: Bearer " + control.substr(6) + "\r\n" + length) + body, 204, ""},
        {"GET /?" + control + " HTTP/1.1\r\nHost: " + evil + "\r\n\r\n", 403, rebound},
        {Upgrade(control, evil), 403, rebound},
        {"POST /key?" + control + " HTTP/1.1\r\nHost: " + evil + "\r\nOrigin: http://" + evil + "\r\n" + length +
             "\r\n" + body,
         403, rebound},
        {"GET /?" + view + " HTTP/1.1\r\nHost: localhost:" + port + "\r\n\r\n", 200, ""},
        {Upgrade(view, "localhost:" + port), 101, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request.substr(0, c.request.find('\r')));
        const size_t mark = w.radio->ReceivedCommands().size();
        const std::string answer = Exchange(w.port, c.request);
        EXPECT_EQ(StatusOf(answer), c.status) << answer.substr(0, 200);
        if (!c.said.empty()) {
            EXPECT_NE(answer.find(c.said), std::string::npos) << answer.substr(0, 200);
            WaitUntil([] { return false; }, 200);
            EXPECT_TRUE(NonPollCommands(*w.radio, mark).empty());
        }
    }
    // A WebSocket client of another site is never opened.
    Page stranger("http://evil.example");
    EXPECT_FALSE(stranger.Open(w.control));
    EXPECT_TRUE(stranger.messages.empty());
}

TEST(WebRemoteEndToEnd, TheSettingsBoxSavesWebRemoteTxtStartsTheRemoteAndShowsItsLinksAndTlsIsServed) {
    App();
    AppFolder folder;
    Form1 form(folder.Path());
    form.show();
    const int port = FreePort();
    auto* portBox = form.findChild<QSpinBox*>("web_port");
    portBox->setValue(port);
    emit portBox->editingFinished();
    EXPECT_FALSE(form.Remote().Running());
    form.findChild<QCheckBox*>("web_start")->setChecked(true);
    ASSERT_TRUE(form.Remote().Running()) << form.Remote().Error().toStdString();
    const std::string saved = "# Quorvane web remote\r\nstart=1\r\naddress=127.0.0.1\r\nport=" + std::to_string(port);
    EXPECT_EQ(folder.Read("web_remote.txt").substr(0, saved.size()), saved);
    // It may hold fixed tokens: the user's own.
    EXPECT_TRUE(OwnerOnly(folder.Path() + "/web_remote.txt"));
    EXPECT_EQ(StatusOf(Exchange(port, "GET /?" + Query(form.Remote().Url(RemoteRole::View)) + " HTTP/1.1\r\n\r\n")),
              200);
    QTest::mouseClick(form.findChild<QPushButton*>("web_show_link"), Qt::LeftButton);
    auto* link = form.findChild<QLineEdit*>("web_link_control");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), form.Remote().Url(RemoteRole::Control));
    EXPECT_EQ(form.findChild<QLineEdit*>("web_link_view")->text(), form.Remote().Url(RemoteRole::View));
    // A loopback link is no use to a phone: no QR code, and the dialog says why.
    const auto linkDialog = [&form] { return form.findChild<QDialog*>("web_link"); };
    const auto codes = [&] {
        int shown = 0;
        for (const QLabel* label : linkDialog()->findChildren<QLabel*>()) shown += label->pixmap().isNull() ? 0 : 1;
        return shown;
    };
    const auto closeDialog = [&] {
        linkDialog()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    ASSERT_NE(form.findChild<QLabel*>("web_link_note"), nullptr);
    EXPECT_TRUE(form.findChild<QLabel*>("web_link_note")->text().contains("a phone cannot reach 127.0.0.1"));
    EXPECT_EQ(codes(), 0);
    EXPECT_TRUE(form.Remote().ClearTextWarning().isEmpty());
    closeDialog();
    // On every network without TLS: a network address with QR codes, and the
    // clear-text warning in the box and the dialog.
    auto* address = form.findChild<QLineEdit*>("web_address");
    address->setText("0.0.0.0");
    emit address->editingFinished();
    ASSERT_TRUE(form.Remote().Running()) << form.Remote().Error().toStdString();
    EXPECT_TRUE(form.findChild<QLabel*>("web_state")->toolTip().contains("the token travels in clear text"));
    QTest::mouseClick(form.findChild<QPushButton*>("web_show_link"), Qt::LeftButton);
    EXPECT_FALSE(form.findChild<QLineEdit*>("web_link_control")->text().contains("0.0.0.0"));
    EXPECT_EQ(codes(), 2);
    ASSERT_NE(form.findChild<QLabel*>("web_link_note"), nullptr);
    EXPECT_TRUE(form.findChild<QLabel*>("web_link_note")->text().contains("clear text"));
    closeDialog();
    form.findChild<QCheckBox*>("web_start")->setChecked(false);
    EXPECT_FALSE(form.Remote().Running());
    EXPECT_EQ(folder.Read("web_remote.txt").find("start=0\r\n"), 23u);

    // TLS from web_remote.txt (a test certificate for 127.0.0.1): both files
    // named, or the remote does not start.
    const std::string data = QUORVANE_SOURCE_DIR "/tests/e2e/data/";
    folder.Write("web_remote.txt", "tls_key=" + data + "remote_tls_key.pem\r\n");
    EXPECT_FALSE(form.Remote().Start({kHost, 0}));
    EXPECT_TRUE(form.Remote().Error().contains("only one of tls_certificate and tls_key"));
    folder.Write("web_remote.txt",
                 "tls_certificate=" + data + "remote_tls_cert.pem\r\ntls_key=" + data + "remote_tls_key.pem\r\n");
    ASSERT_TRUE(form.Remote().Start({kHost, 0})) << form.Remote().Error().toStdString();
    const QString secure = form.Remote().Url(RemoteRole::Control);
    EXPECT_TRUE(secure.startsWith("https://127.0.0.1:"));
    QSslSocket client;
    client.setPeerVerifyMode(QSslSocket::VerifyNone);
    client.connectToHostEncrypted(kHost, static_cast<quint16>(form.Remote().Listening().port));
    ASSERT_TRUE(WaitUntil([&] { return client.isEncrypted(); }, 5000));
    client.write(("GET /?" + Query(secure) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n").c_str());
    std::string answer;
    EXPECT_TRUE(WaitUntil([&] {
        answer += client.readAll().toStdString();
        return answer.find("\r\n\r\n") != std::string::npos;
    }, 5000));
    EXPECT_EQ(StatusOf(answer), 200);
}

TEST(WebRemoteEndToEnd, GarbageHugeHeadsSilentClientsAndManySocketsNeverHoldThePoll) {
    RemoteWindow w;
    TickClock poll(w.form->Scanner());

    // 40 pages, silent half-sent requests, garbage and a huge head, at once
    // (all from one address, within what one address may open).
    std::vector<std::unique_ptr<Page>> pages;
    for (int i = 0; i < 40; ++i) {
        pages.push_back(std::make_unique<Page>(QString::fromStdString(w.origin)));
        pages.back()->socket.open(QUrl(QString(w.control).replace("http://", "ws://").replace("/?", "/ws?")));
    }
    std::vector<std::unique_ptr<QTcpSocket>> silent;
    for (int i = 0; i < 20; ++i) {
        silent.push_back(std::make_unique<QTcpSocket>());
        silent.back()->connectToHost(kHost, w.port);
        silent.back()->write("GET /?token=");
    }
    struct Case {
        std::string request;
        int status;
    } cases[] = {
        {"\x16\x03\x01 not a request\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nX: " + std::string(20000, 'a') + "\r\n\r\n", 431},
        {"GET / HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n", 400},
    };
    for (const Case& c : cases) EXPECT_EQ(StatusOf(Exchange(w.port, c.request)), c.status);
    EXPECT_TRUE(WaitUntil([&] {
        return std::all_of(pages.begin(), pages.end(), [](const auto& p) { return !p->messages.empty(); });
    }, 10000));
    EXPECT_EQ(w.form->Remote().Pages(), 40);
    const size_t before = poll.ticks.size();
    w.radio->SetOverride(Reception("County Fire", "Dispatch 1", "01544300"));
    WaitUntil([] { return false; }, 2000);
    const auto [during, longest] = poll.Since(before);
    EXPECT_GE(during, 15u) << "accepted ticks in 2 s";
    EXPECT_LT(longest, 400);
    EXPECT_TRUE(std::all_of(pages.begin(), pages.end(), [](const auto& p) {
        return p->Sees("display", [](const Json& m) { return m["line1"] == "County Fire     "; }, 3000);
    }));
    // The silent clients are cut once their time is up.
    EXPECT_TRUE(WaitUntil([&] {
        return std::all_of(silent.begin(), silent.end(),
                           [](const auto& s) { return s->state() == QAbstractSocket::UnconnectedState; });
    }, 15000));

    // A page that stops reading is dropped once too much waits for it; the
    // others are sent everything.
    pages.resize(1);
    QTcpSocket stalled;
    stalled.connectToHost(kHost, w.port);
    ASSERT_TRUE(WaitUntil([&] { return stalled.state() == QAbstractSocket::ConnectedState; }, 5000));
    stalled.write(w.Head("GET /ws?" + Query(w.control), "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                         "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n").c_str());
    ASSERT_TRUE(WaitUntil([&] { return stalled.bytesAvailable() > 0; }, 5000));
    stalled.setReadBufferSize(1);
    ASSERT_TRUE(WaitUntil([&] { return w.form->Remote().Pages() == 2; }, 5000));
    LogText log;
    for (int i = 0; i < 1500; ++i) log.Prepend("System " + std::to_string(i) + " / \tGroup\t 154.4300\t\t1:00 PM\t1:01 PM\t12-06-2026\r\n");
    // Each log goes whole once the page that reads has it, so only the other one falls behind.
    for (int i = 0; i < 200 && w.form->Remote().Pages() == 2; ++i) {
        const size_t had = pages[0]->messages.size();
        w.form->Remote().ShowLog(log.Rows());
        ASSERT_TRUE(WaitUntil([&] { return pages[0]->messages.size() > had; }, 5000));
    }
    EXPECT_TRUE(WaitUntil([&] { return w.form->Remote().Pages() == 1; }, 5000));
    EXPECT_TRUE(pages[0]->Sees("log", [](const Json& m) { return m["rows"].size() == 1500; }));
}

TEST(WebRemoteEndToEnd, AStationWithoutAScreenServesThePageLogsAHitAndEndsOnSigterm) {
    App();
    AppFolder folder;
    SimulatorOptions options;
    auto radio = StartRadio(folder,
                            "once\nstep 600000 idle line1=\"Entry A\"\nstep 600000 idle line1=\"Entry B\"\n", options);
    folder.SaveComSettings();
    // "Log To Text File" ticked.
    folder.Write("pgm_settings.txt", "0\r\n0\r\n1\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"\"\r\n4\r\n");
    RadioAudio speaker(QT_TESTCASE_SOURCEDIR "/../scripts/test-audio");
    ASSERT_EQ(speaker.Error(), "");
    speaker.StartTone();
    QProcess program;
    QProcessEnvironment env = ProgramEnvironment("xcb");  // any use of a window system would fail
    env.insert("PULSE_SERVER", QString::fromStdString(speaker.Server()));
    const QString listen = QString("%1:%2").arg(kHost).arg(FreePort());
    StartQuorvane(program, {"--headless", "--web", listen, "--app-dir", folder.Path()}, env);
    ASSERT_TRUE(program.waitForStarted(5000));
    // Standard output (a journal, under a service manager) has the view link
    // and where the control link is, never the control link itself.
    QString said;
    const QString linkFile = folder.Path() + "/web_remote_link.txt";
    ASSERT_TRUE(WaitUntil([&] {
        said += QString::fromUtf8(program.readAllStandardOutput());
        return said.count('\n') >= 2 || program.state() == QProcess::NotRunning;
    }, 10000));
    ASSERT_TRUE(said.startsWith("Web remote, view only: http://" + listen + "/?token=")) << said.toStdString();
    EXPECT_TRUE(said.contains("Web remote: the control link is in " + linkFile + " (readable by you only)"))
        << said.toStdString();
    QString url = QString::fromStdString(folder.Read("web_remote_link.txt")).trimmed();
    ASSERT_TRUE(url.startsWith("http://" + listen + "/?token=")) << url.toStdString();
    EXPECT_FALSE(said.contains(url.section('=', 1)));
    EXPECT_TRUE(OwnerOnly(linkFile));

    // The real page in headless Chromium: it shows the display, moves the
    // radio on with the knob, and plays the sound.
    QProcess check;
    check.start("python3", {QString(QUORVANE_SOURCE_DIR) + "/tests/web/page_check.py", url, "--key", "key_right",
                            "--expect", "Entry B", "--listen"});
    ASSERT_TRUE(check.waitForFinished(120000));
    const QString report = check.readAllStandardOutput() + check.readAllStandardError();
    if (check.exitCode() == 77) {
        std::cout << "[  SKIPPED ] the page in headless Chromium: " << report.toStdString() << std::endl;
    } else {
        EXPECT_EQ(check.exitCode(), 0) << report.toStdString();
    }

    // A hit is logged to the run's log file.
    radio->SetOverride(Idle());
    WaitUntil([] { return false; }, 500);
    Transmission(*radio, Reception("County Fire", "Dispatch 1", "01544300"), 1200);
    const auto logged = [&] {
        for (const QString& name : QDir(folder.Path()).entryList({"[0-9][0-9]-[0-9][0-9]-*_*.txt"})) {
            if (folder.Read(name.toStdString()).find("County Fire / \tDispatch 1\t 154.4300\t") == 0) return true;
        }
        return false;
    };
    EXPECT_TRUE(WaitUntil(logged, 5000)) << program.readAllStandardError().data();
    EXPECT_TRUE(WaitUntil([&] { return folder.Exists("history.sqlite"); }, 3000));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().data();
}
