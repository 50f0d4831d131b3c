#include "alerts/qt/AlertsBox.h"

#include "app/qt/Controls.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "alerts/qt/AlertWatcher.h"
#include "app/qt/TextEntry.h"
#include "base/Fields.h"
#include "base/ScreenGlyphs.h"

namespace quorvane {

QString AlertListText(const std::string& bytes) {
    QStringList lines;
    for (const std::string& line : SplitFields(ReplaceAll(ReplaceAll(bytes, "\r\n", "\n"), "\r", "\n"), '\n')) {
        QString text;
        for (const char c : line) text += QChar(static_cast<char16_t>(ScreenGlyph(static_cast<unsigned char>(c))));
        lines << text;
    }
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();  // the last line's end
    return lines.join('\n');
}

std::string AlertListBytes(const QString& text) {
    static const QHash<char16_t, char> kByteOfGlyph = [] {
        QHash<char16_t, char> bytes;
        for (int b = 255; b >= 0; --b) bytes.insert(static_cast<char16_t>(ScreenGlyph(static_cast<unsigned char>(b))), static_cast<char>(b));
        return bytes;
    }();
    std::string bytes;
    for (const QString& line : text.split('\n')) {
        for (const QChar c : line) {
            const auto found = kByteOfGlyph.constFind(c.unicode());
            if (found != kByteOfGlyph.constEnd()) {
                bytes += *found;
            } else {
                bytes += c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '?';
            }
        }
        bytes += "\r\n";
    }
    // No entry at all is an empty file, not one empty line.
    return bytes == "\r\n" ? std::string() : bytes;
}

AlertsBox::AlertsBox(AlertWatcher* watcher, QWidget* parent)
    : QGroupBox("Alerts", parent), watcher_(watcher) {
    setObjectName("alerts_box");
    editor_ = new QPlainTextEdit(this);
    editor_->setObjectName("alerts_list");
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setPlaceholderText("One a line: 154.43, 12345 or a name");
    editor_->setToolTip("One a line: a frequency (154.43), a talkgroup ID (12345) or part of a name; "
                        "# starts a comment. notify=URL sends alerts to a web hook; "
                        "tones=349.0,433.7 NAME listens for a two-tone page.");
    save_ = new QPushButton("Save", this);
    save_->setObjectName("alerts_save");
    sound_ = new QCheckBox("Sound", this);
    sound_->setObjectName("alerts_sound");
    sound_->setChecked(watcher_->Sound());
    status_ = new QLabel(this);
    status_->setObjectName("alerts_status");
    status_->setWordWrap(true);

    // The state has a line of its own, the whole width of the box, and
    // wraps rather than be cut.
    auto* row = new QHBoxLayout;
    row->addWidget(save_);
    row->addWidget(sound_);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(2);
    layout->addWidget(editor_, 1);
    layout->addLayout(row);
    layout->addWidget(status_);

    connect(save_, &QPushButton::clicked, this, &AlertsBox::Save);
    connect(sound_, &QCheckBox::toggled, this, [this](bool on) { watcher_->SetSound(on); });
    connect(&watcher_->File(), &AlertFile::Changed, this, [this] {
        if (!editor_->document()->isModified()) {
            ShowFile();
        } else {
            status_->setText("alerts.txt changed on disk; Save keeps what you typed");
        }
    });
    ShowFile();
}

void AlertsBox::ShowFile() {
    editor_->setPlainText(AlertListText(watcher_->File().Bytes()));
    editor_->document()->setModified(false);
    SayCount({});
}

void AlertsBox::Save() {
    QString error;
    if (!watcher_->File().Save(AlertListBytes(editor_->toPlainText()), &error)) {
        status_->setText("Not saved: " + error);
        return;
    }
    editor_->document()->setModified(false);
    SayCount("Saved: ");
}

void AlertsBox::SayCount(const QString& before) {
    const QString& problem = watcher_->File().Problem();
    if (!problem.isEmpty()) {
        status_->setText(problem);
        return;
    }
    const AlertList& list = watcher_->File().List();
    if (!list.Notices().empty()) {
        status_->setText(QString::fromStdString(list.Notices().front()));
        return;
    }
    const size_t count = list.Entries().size();
    QString text = before + (count == 1 ? QString("1 entry") : QString("%1 entries").arg(count));
    const auto more = [&text](size_t n, const char* one, const char* many) {
        if (n > 0) text += ", " + (n == 1 ? QString(one) : QString(many).arg(n));
    };
    more(list.Hooks().size(), "1 web hook", "%1 web hooks");
    more(list.Tones().size(), "1 tone page", "%1 tone pages");
    status_->setText(text);
}

}  // namespace quorvane
