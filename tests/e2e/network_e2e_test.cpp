// A scanner shared on the network (ser2net): the real main window on the
// simulator over TCP, a dropped connection and its return, telnet mode
// against a fake server, and a scanner that stops reading.
#include <QElapsedTimer>
#include <QLabel>
#include <QTcpSocket>

#include "E2eSupport.h"
#include "Respond.h"
#include "link/TelnetCodec.h"
#include "link/WriteBacklog.h"
#include "app/qt/ScannerText.h"

using namespace quorvane;
using namespace quorvane::e2e;
using namespace std::string_literals;

namespace {

QString Shown(Form1& form, const char* name) {
    if (QString(name) == "Text3") return Text3Of(form);
    if (auto* line = form.findChild<QLineEdit*>(name)) return line->text();
    return form.findChild<QPlainTextEdit*>(name)->toPlainText();
}

// A simulator listening on 127.0.0.1 (port 0: any free one), named by the
// file com1 of the folder.
std::unique_ptr<Simulator> StartNetworkRadio(const AppFolder& folder, int port = 0) {
    std::string error;
    SimulatorOptions options;
    options.tcp_port = port;
    auto radio = std::make_unique<Simulator>(ParseScenario(kQuietScenario, &error), options);
    folder.Write("com1", "tcp://127.0.0.1:" + std::to_string(radio->TcpPort()) + "\n");
    radio->Start();
    return radio;
}

}  // namespace

TEST(NetworkEndToEnd, OverTcpPollsSendsKeysLogsAHitAndRetriesUntilTheScannerIsBack) {
    App();
    AppFolder folder;
    folder.Write("com1", "tcp://nohost.invalid:2000\n");
    folder.SaveComSettings();
    Form1 form(folder.Path());
    form.show();
    EXPECT_EQ(form.findChild<QLabel*>("port_device")->toolTip(), "tcp://nohost.invalid:2000");
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text3") == "Port 1 (tcp://nohost.invalid:2000) host not found"; }, 5000))
        << Shown(form, "Text3").toStdString();
    const int port = StartNetworkRadio(folder)->TcpPort();  // a port nothing listens on any more
    const QString refused = QString("Port 1 (tcp://127.0.0.1:%1) connection refused").arg(port);
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text3") == refused; }, 5000)) << Shown(form, "Text3").toStdString();

    auto radio = StartNetworkRadio(folder, port);
    radio->SetOverride(Idle());
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text1").startsWith("  Scanning..."); }, 5000));
    const size_t before = radio->ReceivedCommands().size();
    QTest::mouseClick(Key(form, "key_7"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !NonPollCommands(*radio, before).empty(); }, 3000));
    EXPECT_EQ(NonPollCommands(*radio, before), std::vector<std::string>{"KEY,7,P"});
    RadioView hit = Reception("County Fire", "Dispatch 1", "01544300");
    hit.receiving = true;
    radio->SetOverride(hit);
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text1").startsWith("County Fire"); }, 3000));
    hit.receiving = false;
    radio->SetOverride(hit);
    ASSERT_TRUE(WaitUntil([&] { return !Logged(form).empty(); }, 3000));
    EXPECT_EQ(Logged(form).rfind("County Fire / \tDispatch 1\t 154.4300\t", 0), 0u) << Logged(form);

    radio.reset();  // the server goes away
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text3") == "Scanner disconnected - retrying"; }, 5000));
    radio = StartNetworkRadio(folder, port);
    ASSERT_TRUE(WaitUntil([&] { return radio->ReceivedCommands().size() >= 3; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return Shown(form, "Text3") != "Scanner disconnected - retrying"; }, 3000));

    // A host that vanishes without closing the connection: 5 s of silence
    // about owed replies count as a lost connection, tried again every 2 s.
    radio->SetAnswering(false);
    QElapsedTimer silent;
    silent.start();
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text3") == "Scanner disconnected - retrying"; }, 8000));
    EXPECT_GE(silent.elapsed(), 4500);
    radio->SetAnswering(true);
    EXPECT_TRUE(WaitUntil([&] { return Shown(form, "Text3") != "Scanner disconnected - retrying"; }, 5000));
}

TEST(NetworkEndToEnd, TelnetModeSetsTheSpeedAndKeepsNegotiationOutOfTheDisplay) {
    App();
    AppFolder folder;
    std::string error;
    RadioState scanner(ParseScenario(kQuietScenario, &error));
    RadioView shown = Reception("Metro \xFF", "Police", "08561125");
    scanner.SetOverride(shown);

    // A ser2net-like server: it opens with its own options and wraps every
    // reply in telnet commands, with the display's 0xFF byte escaped.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    std::string received;
    TelnetCodec serverSide;
    std::string lines;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* client = server.nextPendingConnection();
        client->write("\xFF\xFB\x01\xFF\xFB\x03\xFF\xFD\x2C\xFF\xFD\x18");  // WILL ECHO, WILL SGA, DO 44, DO TTYPE
        QObject::connect(client, &QTcpSocket::readyRead, client, [&, client] {
            const QByteArray bytes = client->readAll();
            received.append(bytes.constData(), static_cast<size_t>(bytes.size()));
            std::string ignored;
            lines += serverSide.Decode(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), ignored);
            for (size_t end; (end = lines.find('\r')) != std::string::npos; lines.erase(0, end + 1)) {
                const std::string reply = TelnetCodec::Encode(Respond(scanner, lines.substr(0, end), 0) + "\r");
                const std::string wrapped =
                    "\xFF\xF1" + reply.substr(0, 3) + "\xFF\xFA\x2C\x6B\x01\xFF\xF0" + reply.substr(3);
                client->write(wrapped.data(), static_cast<qint64>(wrapped.size()));
            }
        });
    });
    folder.Write("com1", "telnet://127.0.0.1:" + std::to_string(server.serverPort()) + "\n");
    folder.SaveComSettings();
    Form1 form(folder.Path());
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text1").startsWith("Metro"); }, 5000));
    EXPECT_EQ(Shown(form, "Text1"), ScreenText(PadLine("Metro \xFF")) + "\n" + ScreenText(PadLine("Police")) + "\n");
    EXPECT_EQ(Shown(form, "freq"), " 856.1125");
    // The speed went out as a COM-PORT-OPTION subcommand; echo and the
    // terminal type were refused; no option byte counted as a reply.
    EXPECT_NE(received.find("\xFF\xFA\x2C\x01\x00\x00\xE1\x00\xFF\xF0"s), std::string::npos);
    EXPECT_NE(received.find("\xFF\xFE\x01"), std::string::npos);
    EXPECT_NE(received.find("\xFF\xFC\x18"), std::string::npos);
    EXPECT_NE(received.find("STS\r"), std::string::npos);
}

TEST(NetworkEndToEnd, AScannerThatStopsReadingGetsNoFloodOfStaleCommands) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);  // on a pseudo-terminal: the system holds 20 KB there unseen
    folder.SaveComSettings();
    Form1 form(folder.Path());
    ASSERT_TRUE(WaitUntil([&] { return radio->ReceivedCommands().size() >= 3; }, 3000));

    radio->SetReading(false);
    for (int i = 0; i < 2000; ++i) form.Scanner().Link().Send(LineUser::Keys, "KEY,1,P");  // 16 KB offered
    EXPECT_LE(form.Scanner().Link().Unsent(), kMostUnansweredBytes);
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text3") == "Scanner not reading - retrying"; }, 3000));

    const size_t before = radio->ReceivedCommands().size();
    radio->SetReading(true);
    ASSERT_TRUE(WaitUntil([&] { return Shown(form, "Text3") != "Scanner not reading - retrying"; }, 5000));
    form.Scanner().Link().Send(LineUser::Keys, "KEY,2,P");  // everything sent before it has arrived once it has
    ASSERT_TRUE(WaitUntil([&] {
        const auto after = NonPollCommands(*radio, before);
        return !after.empty() && after.back() == "KEY,2,P";
    }, 5000));
    const auto stale = NonPollCommands(*radio, before);
    EXPECT_LE(stale.size(), kMostUnansweredBytes / 8 + 1);
}
