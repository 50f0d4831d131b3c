#include "tools/qt/TunerTab.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/SettingsFiles.h"
#include "link/qt/ScannerLink.h"
#include "tools/SkipListText.h"
#include "app/qt/Controls.h"
#include "tools/qt/DirectEntryPanel.h"
#include "app/qt/ScannerText.h"
#include "app/qt/TextEntry.h"
#include "app/qt/Twips.h"

namespace quorvane {
namespace {

constexpr int kQuickScanStepMs = 1000;
const char* kQuickScanCaption = "Quick Scan List";
const char* kAutoSkipCaption = "Auto Skip List";
const char* kStartCaption = "Start Quick Scan";
const char* kStopCaption = "Stop Quick Scan";

// A list box (Enter starts a new line) with its button below, in a frame.
QPlainTextEdit* ListFrame(QGroupBox* frame, const QString& listName) {
    auto* list = NewControl<QPlainTextEdit>(frame, listName, TwipsRect(120, 300, frame->width() * kTwipsPerPixel - 240, 3150));
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setTabChangesFocus(true);
    return list;
}

// The frame caption, with a note when lines were left out of the table.
QString Caption(const char* caption, const ListLines& lines) {
    const std::string note = LinesUsedNote(lines);
    return note.empty() ? QString(caption) : QString("%1 (%2)").arg(caption, QString::fromStdString(note));
}

}  // namespace

TunerTab::TunerTab(TunerHost host, QWidget* parent) : QWidget(parent), host_(std::move(host)) {
    setObjectName("Tuner");
    panels_[0] = NewControl<DirectEntryPanel>(this, "VFO_frame", TwipsRect(120, 60, 4800, 1980),
                                              DirectEntryNames{"direct_entry", "direct_entry_mod", "key_tune_direct",
                                                               "direct_entry_state", "direct_entry_fcc"},
                                              host_);
    panels_[1] = NewControl<DirectEntryPanel>(this, "Frame4", TwipsRect(120, 2160, 4800, 1980),
                                              DirectEntryNames{"direct_entry2", "direct_entry_mod2", "key_tune_direct2",
                                                               "direct_entry_state2", "direct_entry_fcc2"},
                                              host_);
    for (int panel = 0; panel < 2; ++panel) SetStateIndex(panel, kDefaultStateIndex);

    Auto_Skip_List_Frame = NewControl<QGroupBox>(this, "Auto_Skip_List_Frame", TwipsRect(5040, 60, 3000, 4080),
                                                 kAutoSkipCaption);
    Auto_Skip_List = ListFrame(Auto_Skip_List_Frame, "Auto_Skip_List");
    key_auto_skip_list_apply = NewControl<QPushButton>(Auto_Skip_List_Frame, "key_auto_skip_list_apply",
                                                       TwipsRect(120, 3555, 1200, 390), "Apply");
    connect(key_auto_skip_list_apply, &QPushButton::clicked, this, &TunerTab::key_auto_skip_list_apply_Click);

    Quick_Scan_List_Frame = NewControl<QGroupBox>(this, "Quick_Scan_List_Frame", TwipsRect(8160, 60, 3150, 4080),
                                                  kQuickScanCaption);
    Quick_Scan_List = ListFrame(Quick_Scan_List_Frame, "Quick_Scan_List");
    key_start_quck_scan = NewControl<QPushButton>(Quick_Scan_List_Frame, "key_start_quck_scan",
                                                  TwipsRect(120, 3555, 2100, 390), kStartCaption);
    connect(key_start_quck_scan, &QPushButton::clicked, this, &TunerTab::key_start_quck_scan_Click);

    // Runs from start-up to exit; a tick does nothing while the scan is stopped.
    Timer4.setObjectName("Timer4");
    Timer4.setInterval(kQuickScanStepMs);
    Timer4.setTimerType(Qt::PreciseTimer);
    connect(&Timer4, &QTimer::timeout, this, &TunerTab::Timer4_Timer);
    Timer4.start();
}

void TunerTab::StopQuickScan() {
    quickScan_.Stop();
    key_start_quck_scan->setText(kStartCaption);
}

int TunerTab::StateIndex(int panel) const { return ChosenIndex(panels_[panel]->StateList()); }

void TunerTab::SetStateIndex(int panel, int index) { Choose(panels_[panel]->StateList(), index); }

void TunerTab::key_start_quck_scan_Click() {
    const std::string text = BytesFromScreen(Quick_Scan_List->toPlainText());
    if (!quickScan_.Running()) {
        // A list that does not read as frequencies is not started: the user
        // is told which line to mend.
        const ListLines read = SplitListLines(text);
        if (const auto bad = FirstLineNotAFrequency(read)) {
            host_.focusPicture1();
            host_.tell(QString("Quick Scan List line %1 is not a frequency: \"%2\".\nPut one frequency in MHz on "
                               "each line, with a modulation if you like: 154.43, 460.025 nfm, 121.5 am.")
                           .arg(*bad + 1)
                           .arg(ScreenText(read.lines[*bad])),
                       host_.focusPicture1);
            return;
        }
    }
    const ListLines lines = quickScan_.Toggle(text);
    Quick_Scan_List_Frame->setTitle(Caption(kQuickScanCaption, lines));
    key_start_quck_scan->setText(quickScan_.Running() ? kStopCaption : kStartCaption);
    host_.focusPicture1();
}

void TunerTab::Timer4_Timer() {
    // A harvest or memory programming has the line: the scan waits where it
    // is and goes on after it.
    if (host_.link->Ask(LineUser::QuickScan) == Grant::Wait) return;
    if (const auto command = quickScan_.Tick(host_.hitActive())) host_.link->Send(LineUser::QuickScan, *command);
}

void TunerTab::key_auto_skip_list_apply_Click() {
    const ListLines lines = ApplySkipListText(*host_.skipList, BytesFromScreen(Auto_Skip_List->toPlainText()));
    Auto_Skip_List_Frame->setTitle(Caption(kAutoSkipCaption, lines));
    host_.focusPicture1();
    // The focus comes back to the logo when the message is closed, too.
    host_.tell("Skip List Set", host_.focusPicture1);
}

}  // namespace quorvane
