#pragma once
#include <QObject>
#include <QString>
#include <functional>

#include "monitor/TickOutcome.h"

class QCheckBox;
class QTextToSpeech;
class QWidget;

namespace quorvane {

// Spoken hits: while "Speak hits" is ticked (speak=1 in speech.txt), the
// channel's name is said through the desktop's speech service when a hit
// starts. One phrase at a time: a new hit cuts the phrase before it short.
// Without a speech service nothing is said and Text3 says so once.
class HitSpeaker : public QObject {
    Q_OBJECT
public:
    HitSpeaker(QString appDirectory, QObject* parent);

    // Reads speech.txt; its notices, if any, are returned.
    QStringList Load();
    bool Speaking() const { return speak_; }
    // Ticked or not, saved to speech.txt at once.
    void SetSpeaking(bool on);
    // The hits a tick starts are said.
    void Follow(const TickOutcome& outcome);
    // The "Speak hits" box on a settings frame, kept in step with this.
    QCheckBox* NewCheck(QWidget* frame, const QRect& place);

    // What was said last (for tests), and how it is said (tests replace the
    // speech service; false: no service to say it).
    const QString& LastPhrase() const { return lastPhrase_; }
    void SetVoice(std::function<bool(const QString&)> voice) { voice_ = std::move(voice); }

signals:
    // A note for Text3 (no speech service).
    void Note(const QString& text);

private:
    void Say(const QString& phrase);
    bool SayThroughService(const QString& phrase);

    QString appDirectory_;
    bool speak_ = false;
    QString lastPhrase_;
    bool toldNoService_ = false;
    QTextToSpeech* service_ = nullptr;
    std::function<bool(const QString&)> voice_;
};

}  // namespace quorvane
