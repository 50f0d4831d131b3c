#include "web/qt/WebRemoteBox.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <qrencode.h>

#include "app/qt/Controls.h"
#include "app/qt/Twips.h"
#include "web/WebRemoteSettings.h"
#include "web/qt/RemoteServer.h"

namespace quorvane {
namespace {

// A QR code of text, each module a square of modulePixels with the quiet
// zone of four modules around it; null when the text cannot be encoded.
QImage QrImage(const QString& text, int modulePixels) {
    const QByteArray bytes = text.toUtf8();
    QRcode* code = QRcode_encodeString(bytes.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (!code) return {};
    constexpr int kQuiet = 4;
    const int side = code->width + 2 * kQuiet;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1) image.setPixel(x + kQuiet, y + kQuiet, qRgb(0, 0, 0));
        }
    }
    QRcode_free(code);
    return image.scaled(side * modulePixels, side * modulePixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// One link on a row: its QR code (none for a link a phone cannot open),
// what it is for, and its whole text to copy.
void AddLink(QGridLayout* grid, int row, const QString& title, const QString& url, const QString& name,
             bool withCode) {
    auto* code = new QLabel;
    if (withCode) {
        code->setPixmap(QPixmap::fromImage(QrImage(url, 4)));
        code->setAccessibleName(title + " QR code");
    }
    auto* heading = new QLabel("<b>" + title + "</b>");
    auto* text = new QLineEdit(url);
    text->setObjectName(name);
    text->setReadOnly(true);
    text->setAccessibleName(title + " link");
    text->setMinimumWidth(text->fontMetrics().horizontalAdvance(url) + 16);
    grid->addWidget(code, 2 * row, 0, 2, 1);
    grid->addWidget(heading, 2 * row, 1, Qt::AlignBottom);
    grid->addWidget(text, 2 * row + 1, 1, Qt::AlignTop);
}

}  // namespace

WebRemoteBox::WebRemoteBox(QWidget* tab, RemoteServer& server) : QGroupBox("Web remote", tab), server_(server) {
    setObjectName("web_remote_frame");
    setGeometry(TwipsRect(7980, 2950, 3300, 1560));
    web_start = NewControl<QCheckBox>(this, "web_start", TwipsRect(150, 240, 3000, 300), "Start on every run");
    NewControl<QLabel>(this, "web_address_label", TwipsRect(150, 600, 850, 270), "Address:");
    web_address = NewControl<QLineEdit>(this, "web_address", TwipsRect(1000, 570, 2150, 330));
    web_address->setToolTip("127.0.0.1: this computer only; 0.0.0.0: every network (a phone on the same network)");
    NewControl<QLabel>(this, "web_port_label", TwipsRect(150, 960, 850, 270), "Port:");
    web_port = NewControl<QSpinBox>(this, "web_port", TwipsRect(1000, 930, 900, 330));
    web_port->setRange(1, 65535);
    web_show_link = NewControl<QPushButton>(this, "web_show_link", TwipsRect(2000, 910, 1150, 370), "Show link");
    web_state = NewControl<QLabel>(this, "web_state", TwipsRect(150, 1290, 3000, 270));
    web_state->setWordWrap(true);
    web_state->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Load();

    connect(web_start, &QCheckBox::toggled, this, [this] {
        Save();
        Apply(true);
    });
    connect(web_address, &QLineEdit::editingFinished, this, [this] {
        const std::string typed = web_address->text().trimmed().toStdString();
        if (!IsIpAddress(typed)) {
            problem_ = QString("\"%1\" is no IP address (e.g. 127.0.0.1, or 0.0.0.0 for every network)")
                           .arg(web_address->text());
            web_address->setText(QString::fromStdString(server_.ReadSettings().listen.address));
            ShowState();
            return;
        }
        Save();
        Apply(false);
    });
    connect(web_port, &QSpinBox::editingFinished, this, [this] {
        Save();
        Apply(false);
    });
    connect(web_show_link, &QPushButton::clicked, this, &WebRemoteBox::ShowLink);
    connect(&server_, &RemoteServer::RunningChanged, this, &WebRemoteBox::ShowState);
    connect(&server_, &RemoteServer::PagesChanged, this, &WebRemoteBox::ShowState);
    connect(&server_, &RemoteServer::ListenersChanged, this, &WebRemoteBox::ShowState);
}

void WebRemoteBox::Load() {
    const WebRemoteSettings settings = server_.ReadSettings();
    const QSignalBlocker quietStart(web_start);
    const QSignalBlocker quietAddress(web_address);
    const QSignalBlocker quietPort(web_port);
    web_start->setChecked(settings.start);
    web_address->setText(QString::fromStdString(settings.listen.address));
    web_port->setValue(settings.listen.port);
    ShowState();
}

void WebRemoteBox::Save() {
    WebRemoteSettings settings = server_.ReadSettings();
    settings.start = web_start->isChecked();
    settings.listen.address = web_address->text().trimmed().toStdString();
    settings.listen.port = web_port->value();
    QString error;
    problem_.clear();
    if (!server_.SaveSettings(settings, &error)) {
        problem_ = QString("%1 could not be saved (%2)").arg(kWebRemoteSettingsFile, error);
    }
}

void WebRemoteBox::Apply(bool tickChanged) {
    // Unticking stops the remote; otherwise it runs (or keeps running) where
    // the box says.
    const ListenAddress wanted{web_address->text().trimmed().toStdString(), web_port->value()};
    bool start = false;
    if (tickChanged && !web_start->isChecked()) {
        server_.Stop();
    } else if (server_.Running()) {
        start = !(server_.Listening() == wanted);
    } else {
        start = web_start->isChecked();
    }
    if (start && !server_.Start(wanted)) problem_ = server_.Error();
    ShowState();
}

void WebRemoteBox::ShowState() {
    QString text;
    const int listeners = server_.Listeners();
    // The sound input going out to pages is never a secret from this window.
    setTitle(listeners > 0 ? QString("Web remote: sending sound to %1 page%2").arg(listeners).arg(listeners == 1 ? "" : "s")
                           : QString("Web remote"));
    if (server_.Running()) {
        const int pages = server_.Pages();
        text = QString("Serving %1 (%2 page%3 open)")
                   .arg(server_.Url(RemoteRole::Control).section('?', 0, 0))
                   .arg(pages)
                   .arg(pages == 1 ? "" : "s");
        if (listeners > 0) text = QString("Sending sound to %1 page%2. ").arg(listeners).arg(listeners == 1 ? "" : "s") + text;
        if (!server_.ClearTextWarning().isEmpty()) text += ". No TLS: the token travels in clear text on the network";
    } else {
        // What went wrong here, else why a start for this run failed.
        text = !problem_.isEmpty()              ? problem_
               : !server_.Error().isEmpty() ? server_.Error()
                                            : QString("Not running");
    }
    ShowElided(web_state, text);
}

void WebRemoteBox::ShowLink() {
    auto* dialog = new QDialog(window());
    dialog->setObjectName("web_link");
    dialog->setWindowTitle("Web remote");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(dialog);
    if (!server_.Running()) {
        layout->addWidget(new QLabel("The web remote is not running. Tick \"Start on every run\", or start "
                                     "Quorvane with --web [ADDR:]PORT."));
    } else {
        // A phone cannot open a link to this computer's loopback.
        const bool local = IsLoopback(server_.Listening().address);
        auto* grid = new QGridLayout;
        AddLink(grid, 0, "Control: the token in the link is the password", server_.Url(RemoteRole::Control),
                "web_link_control", !local);
        AddLink(grid, 1, "View only: shows everything and plays the sound, presses no keys",
                server_.Url(RemoteRole::View), "web_link_view", !local);
        layout->addLayout(grid);
        QStringList notes;
        if (local) {
            notes << QString("These links open on this computer only: a phone cannot reach %1. For a phone, set "
                             "the address to 0.0.0.0 (every network) or to this computer's network address.")
                         .arg(QString::fromStdString(server_.Listening().address));
        }
        if (const QString warning = server_.ClearTextWarning(); !warning.isEmpty()) {
            notes << "Without TLS the token travels in clear text: anyone on the network path can read it and use "
                     "the remote.";
        }
        if (!notes.isEmpty()) {
            auto* note = new QLabel(notes.join("\n"));
            note->setObjectName("web_link_note");
            note->setWordWrap(true);
            layout->addWidget(note);
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    dialog->open();
}

}  // namespace quorvane
