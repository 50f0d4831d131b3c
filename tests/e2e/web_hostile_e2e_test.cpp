// The browser remote against hostile clients, from outside: sessions opened
// and closed by the hundred, a flood of keys, many slow connections from one
// address, and Listen toggled with no sound input. Through all of it the poll
// keeps its pace and others get in.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

#include "WebRemoteSupport.h"
#include "web/qt/RemoteDoor.h"
#include "web/qt/WebRemoteBox.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

int KeysSent(const Simulator& radio, size_t mark) { return static_cast<int>(NonPollCommands(radio, mark).size()); }

}  // namespace

TEST(WebRemoteHostile, ThreeHundredSessionsOpenedAndClosedLeaveTheDoorOpen) {
    RemoteWindow w;
    for (int i = 0; i < 300; ++i) {
        Page page(QString::fromStdString(w.origin));
        ASSERT_TRUE(page.Open(i % 2 ? w.view : w.control)) << "session " << i;
        page.socket.close();
        ASSERT_TRUE(WaitUntil([&] { return page.socket.state() == QAbstractSocket::UnconnectedState; }, 5000));
    }
    // Every closed session is counted out and its sockets deleted.
    EXPECT_TRUE(WaitUntil([&] { return w.form->Remote().Connections() == 0 && w.form->Remote().Pages() == 0; },
                          5000))
        << w.form->Remote().Connections() << " connections, " << w.form->Remote().Pages() << " pages";
    EXPECT_EQ(StatusOf(Exchange(w.port, w.Head("GET /?" + Query(w.view)))), 200);
    Page page(QString::fromStdString(w.origin));
    ASSERT_TRUE(page.Open(w.view));
    w.radio->SetOverride(Reception("County Fire", "Dispatch 1", "01544300"));
    EXPECT_TRUE(page.Sees("display", [](const Json& m) { return m["line1"] == "County Fire     "; }));
}

TEST(WebRemoteHostile, AKeyFloodIsCappedPacedAndGoesWithItsPageWhileThePollAndOtherPagesGoOn) {
    RemoteWindow w;
    TickClock poll(w.form->Scanner());
    Page watcher(QString::fromStdString(w.origin));
    ASSERT_TRUE(watcher.Open(w.view));
    auto flood = std::make_unique<Page>(QString::fromStdString(w.origin));
    ASSERT_TRUE(flood->Open(w.control));
    ASSERT_TRUE(flood->Sees("hello"));
    // The poll's pace with no keys, for comparison.
    const size_t quietFrom = poll.ticks.size();
    WaitUntil([] { return false; }, 2000);
    const size_t quietTicks = poll.Since(quietFrom).first;
    const size_t mark = w.radio->ReceivedCommands().size();
    const size_t ticksBefore = poll.ticks.size();
    QElapsedTimer flooding;
    flooding.start();

    for (int i = 0; i < 5000; ++i) flood->Press("key_" + std::to_string(i % 10));
    flood->socket.flush();
    // Most are refused at once: the queue holds a few seconds of keys.
    EXPECT_TRUE(flood->Sees("refused", [](const Json& m) { return m["reason"] == "Too many keys queued"; }));
    w.radio->SetOverride(Reception("County Fire", "Dispatch 1", "01544300"));
    EXPECT_TRUE(watcher.Sees("display", [](const Json& m) { return m["line1"] == "County Fire     "; }, 2000));
    WaitUntil([] { return false; }, 2000);
    const auto [ticks, longest] = poll.Since(ticksBefore);
    // The poll keeps most of its pace: a remote key takes the place of one
    // round in three at most (half is the least this allows under load).
    EXPECT_GE(ticks * 2, quietTicks) << ticks << " accepted poll ticks in 2 s of flood, " << quietTicks
                                          << " in 2 s without";
    EXPECT_LT(longest, 400) << "longest gap between poll ticks (ms)";
    // No faster than a person's pace, and never more than the queue holds.
    const int sent = KeysSent(*w.radio, mark);
    EXPECT_GE(sent, 5);
    EXPECT_LE(sent, flooding.elapsed() / kRemoteKeySpacingMs + 1);
    EXPECT_LE(w.form->Remote().QueuedKeys(), static_cast<int>(kMostKeysPerClient));

    // The page goes: its queued keys go with it.
    flood.reset();
    ASSERT_TRUE(WaitUntil([&] { return w.form->Remote().Pages() == 1; }, 5000));
    EXPECT_EQ(w.form->Remote().QueuedKeys(), 0);
    WaitUntil([] { return false; }, 300);
    const size_t after = w.radio->ReceivedCommands().size();
    WaitUntil([] { return false; }, 1000);
    EXPECT_EQ(KeysSent(*w.radio, after), 0);
    EXPECT_LT(KeysSent(*w.radio, mark), static_cast<int>(kMostKeysPerClient));

    // Key requests of a script are paced and capped the same way.
    const std::string body = KeyBody();
    const std::string request = w.Head("POST /key?" + Query(w.control), "Content-Length: " +
                                       std::to_string(body.size()) + "\r\n") + body;
    int accepted = 0, refused = 0;
    for (int i = 0; i < 80; ++i) {
        const int status = StatusOf(Exchange(w.port, request));
        accepted += status == 204;
        refused += status == 429;
    }
    EXPECT_EQ(accepted + refused, 80);
    EXPECT_GE(refused, 1);
    EXPECT_LE(accepted, static_cast<int>(kMostKeysPerClient) + 40);
}

TEST(WebRemoteHostile, SlowConnectionsFromOneAddressLeaveRoomForAnotherAndThePoll) {
    RemoteWindow w;
    TickClock poll(w.form->Scanner());
    std::vector<std::unique_ptr<QTcpSocket>> slow;
    for (int i = 0; i < 300; ++i) {
        slow.push_back(std::make_unique<QTcpSocket>());
        slow.back()->connectToHost(kHost, w.port);
        slow.back()->write("GET /?token=");
    }
    ASSERT_TRUE(WaitUntil([&] { return w.form->Remote().Connections() == RemoteDoor::kMostPerAddress; }, 10000))
        << w.form->Remote().Connections();
    // The rest were told why.
    std::string told;
    EXPECT_TRUE(WaitUntil([&] {
        for (auto& socket : slow) told += socket->readAll().toStdString();
        return told.find("503") != std::string::npos;
    }, 5000));
    EXPECT_NE(told.find("Too many connections"), std::string::npos);

    const size_t ticksBefore = poll.ticks.size();
    int pages = 0;
    for (int i = 0; i < 21; ++i) {
        pages += StatusOf(Exchange(w.port, w.Head("GET /?" + Query(w.view)), 5000, "127.0.0.2")) == 200;
    }
    EXPECT_EQ(pages, 21);
    const std::string session =
        Exchange(w.port, Upgrade(Query(w.control), std::string(kHost) + ":" + std::to_string(w.port)), 5000,
                 "127.0.0.2");
    EXPECT_EQ(StatusOf(session), 101) << session.substr(0, 200);
    const auto [ticks, longest] = poll.Since(ticksBefore);
    EXPECT_GE(ticks, 2u);
    EXPECT_LT(longest, 400);
}

TEST(WebRemoteHostile, ListenIsShownInTheWindowAndAMissingInputIsToldToThePageNotTheJournal) {
    ASSERT_EQ(Speaker().Error(), "");
    RemoteWindow w;
    auto* box = w.form->findChild<WebRemoteBox*>();
    ASSERT_NE(box, nullptr);
    // A sound input that works: the window says the sound goes out, to how many.
    {
        Page a(QString::fromStdString(w.origin)), b(QString::fromStdString(w.origin));
        ASSERT_TRUE(a.Open(w.view));
        ASSERT_TRUE(b.Open(w.view));
        a.socket.sendTextMessage(R"({"type":"listen","on":true})");
        b.socket.sendTextMessage(R"({"type":"listen","on":true})");
        EXPECT_TRUE(WaitUntil([&] { return box->title() == "Web remote: sending sound to 2 pages"; }, 5000))
            << box->title().toStdString();
        EXPECT_TRUE(box->findChild<QLabel*>("web_state")->toolTip().startsWith("Sending sound to 2 pages"));
        // Also under the display, whichever tab is open.
        auto* footer = w.form->findChild<QLabel*>("sound_out");
        EXPECT_TRUE(footer->isVisibleTo(w.form.get()));
        EXPECT_EQ(footer->text(), "Sound to 2 web pages");
        b.socket.sendTextMessage(R"({"type":"listen","on":false})");
        EXPECT_TRUE(WaitUntil([&] { return box->title() == "Web remote: sending sound to 1 page"; }, 5000));
    }
    EXPECT_TRUE(WaitUntil([&] { return box->title() == "Web remote"; }, 5000));
    EXPECT_FALSE(w.form->findChild<QLabel*>("sound_out")->isVisibleTo(w.form.get()));

    // No sound input: 500 tries write one line, and a page hears why.
    AppFolder folder;
    RemoteHost host;
    host.listen = [](bool) { return false; };
    RemoteServer remote(folder.Path(), host);
    ASSERT_TRUE(remote.Start({kHost, 0}));
    const QString origin = QString("http://%1:%2").arg(kHost).arg(remote.Listening().port);
    Page toggler(origin);
    ASSERT_TRUE(toggler.Open(remote.Url(RemoteRole::View)));
    QTemporaryFile errors;
    ASSERT_TRUE(errors.open());
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(errors.handle(), STDERR_FILENO);
    for (int i = 0; i < 500; ++i) {
        toggler.socket.sendTextMessage(QString(R"({"type":"listen","on":%1})").arg(i % 2 ? "false" : "true"));
    }
    toggler.socket.flush();
    // The toggling page is answered each time; one that asks too fast for
    // what it reads is dropped like any page that falls behind.
    WaitUntil([&] { return toggler.messages.size() >= 5 + 250 || remote.Pages() == 0; }, 5000);
    Page page(origin);
    ASSERT_TRUE(page.Open(remote.Url(RemoteRole::View)));
    page.socket.sendTextMessage(R"({"type":"listen","on":true})");
    const bool told = page.Sees("sound", [](const Json& m) {
        return m["on"] == false && m["reason"] == "No sound input on the computer";
    });
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    EXPECT_TRUE(told);
    errors.seek(0);
    const QByteArray written = errors.readAll();
    EXPECT_EQ(written.count('\n'), 1) << written.toStdString();
    EXPECT_EQ(remote.Listeners(), 0);
}
