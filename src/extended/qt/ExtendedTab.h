#pragma once
#include <QWidget>
#include <functional>

#include "monitor/TickOutcome.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;

namespace quorvane {

// The "Extended Info" tab: the user's notes and picture for the reception
// (key ".txt" and key ".gif" files in the app folder).
class ExtendedTab : public QWidget {
    Q_OBJECT
public:
    // reception: what is being received now (nothing before the first
    // accepted tick); entering the notes box shows its notes afresh.
    ExtendedTab(QString appDirectory, std::function<std::optional<ExtendedInfoSource>()> reception,
                std::function<void()> focusPicture1, QWidget* parent);

    void ExtendedInfoShow(const ExtendedInfoSource& source);

private:
    QString appDirectory_;
    QGroupBox* extended_info_frame = nullptr;
    QPlainTextEdit* extended_text = nullptr;
    QLabel* extended_photo = nullptr;
};

}  // namespace quorvane
