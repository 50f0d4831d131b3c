#include "memory/qt/MemoryTab.h"

#include "memory/qt/FrozenNames.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "app/qt/Twips.h"
#include "memory/ChannelCsv.h"
#include "memory/HitIntelFromMemory.h"
#include "memory/MemoryFile.h"
#include "memory/MemoryReader.h"
#include "memory/MemoryValidation.h"
#include "memory/PlanRunner.h"
#include "memory/WritePlan.h"
#include "memory/qt/MemoryRunner.h"
#include "memory/qt/MemorySettingsTree.h"
#include "memory/qt/MemoryTree.h"

namespace quorvane {
namespace {

constexpr int kRowTop = 60, kRowHeight = 360, kGap = 60;
constexpr int kTreeTop = 480, kTreeWidth = 9960, kTreeHeight = 2100;
constexpr int kSettingsHeight = 780, kEraseHeight = 270;
constexpr int kSideLeft = 10200, kSideWidth = 1140;
constexpr int kLineWidth = 11220, kLineHeight = 270;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string NameOf(const QString& path) { return QFileInfo(path).fileName().toStdString(); }

}  // namespace

MemoryTab::MemoryTab(MemoryHost host, QWidget* parent) : QWidget(parent), host_(std::move(host)) {
    setObjectName("Memory");
    runner_ = new MemoryRunner(*host_.link, this);
    connect(runner_, &MemoryRunner::Progress, this, &MemoryTab::ShowProgress);
    connect(runner_, &MemoryRunner::Ended, this, &MemoryTab::Ended);

    // The buttons of the top row, left to right.
    const struct {
        QPushButton** button;
        const char* name;
        const char* caption;
        int width;
        void (MemoryTab::*click)();
    } buttons[] = {
        {&memory_read, "memory_read", "Read from scanner", 1800, &MemoryTab::ReadClick},
        {&memory_write, "memory_write", "Write to scanner", 1700, &MemoryTab::WriteClick},
        {&memory_cancel, "memory_cancel", "Cancel", 800, nullptr},
        {&memory_open, "memory_open", "Open…", 850, &MemoryTab::OpenClick},
        {&memory_save, "memory_save", "Save…", 850, &MemoryTab::SaveClick},
        {&memory_import, "memory_import", "Import CSV…", 1300, &MemoryTab::ImportClick},
        {&memory_export, "memory_export", "Export CSV…", 1300, &MemoryTab::ExportClick},
        {&memory_hit_intel, "memory_hit_intel", "Rebuild hit_intel.txt", 1900, &MemoryTab::RebuildClick},
    };
    int left = 120;
    for (const auto& b : buttons) {
        *b.button = NewControl<QPushButton>(this, b.name, TwipsRect(left, kRowTop, b.width, kRowHeight), b.caption);
        if (b.click) connect(*b.button, &QPushButton::clicked, this, b.click);
        left += b.width + kGap;
    }
    connect(memory_cancel, &QPushButton::clicked, runner_, &MemoryRunner::Cancel);

    memory_tree = NewControl<MemoryTree>(this, "memory_tree", TwipsRect(120, kTreeTop, kTreeWidth, kTreeHeight));
    memory_tree->setAccessibleName("Scanner memory");
    new FrozenNames(*memory_tree);  // the names stay in view when the tree scrolls right
    connect(memory_tree, &MemoryTree::Edited, this, &MemoryTab::Edited);
    const int settingsTop = kTreeTop + kTreeHeight + kGap;
    memory_settings = NewControl<MemorySettingsTree>(this, "memory_settings",
                                                     TwipsRect(120, settingsTop, kTreeWidth, kSettingsHeight));
    memory_settings->setAccessibleName("Scanner settings");
    connect(memory_settings, &MemorySettingsTree::Edited, this, &MemoryTab::Edited);
    const int eraseTop = settingsTop + kSettingsHeight + kGap;
    memory_erase_first = NewControl<QCheckBox>(
        this, "memory_erase_first", TwipsRect(120, eraseTop, kLineWidth, kEraseHeight),
        "Erase the scanner first: Write clears every record and returns every setting to its default");
    memory_erase_first->setAccessibleName("Erase the scanner first");
    memory_erase_first->setToolTip(
        "Write to scanner then clears the scanner's whole memory (CLR: every system, group and channel, and every "
        "setting, lockout and quick key back to its default), writes the whole tree and the Scanner settings, and "
        "reads it all back. Without it, only what differs from the scanner is written.");
    connect(memory_tree, &MemoryTree::ProblemShown, this, &MemoryTab::Say);

    // The row edits, down the right side.
    const struct {
        QPushButton** button;
        const char* name;
        const char* caption;
        std::function<void()> click;
    } edits[] = {
        {&memory_add_system, "memory_add_system", "Add system", [this] { memory_tree->AddSystem(); }},
        {&memory_add, "memory_add", "Add", [this] { memory_tree->Add(); }},
        {&memory_delete, "memory_delete", "Delete", [this] { memory_tree->Delete(); }},
        {&memory_up, "memory_up", "Up", [this] { memory_tree->Move(-1); }},
        {&memory_down, "memory_down", "Down", [this] { memory_tree->Move(1); }},
    };
    int top = kTreeTop;
    for (const auto& e : edits) {
        *e.button = NewControl<QPushButton>(this, e.name, TwipsRect(kSideLeft, top, kSideWidth, kRowHeight), e.caption);
        connect(*e.button, &QPushButton::clicked, this, e.click);
        top += kRowHeight + kGap;
    }

    const int statusTop = eraseTop + kEraseHeight + kGap;
    memory_status = NewControl<QLabel>(this, "memory_status", TwipsRect(120, statusTop, kLineWidth, kLineHeight));
    memory_progress =
        NewControl<QLabel>(this, "memory_progress", TwipsRect(120, statusTop + kLineHeight, kLineWidth, kLineHeight));
    // A fault names the record and what the scanner takes: it wraps, whole.
    memory_status->setWordWrap(true);
    memory_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The places above are the first sizes; the layouts give the tab's room
    // to the trees as the tab grows (in a window of its own, too).
    auto* topRow = new QHBoxLayout;
    topRow->setSpacing(TwipsRect(0, 0, kGap, 0).width());
    for (const auto& b : buttons) {
        // As narrow as their first places at the least, so the row fits the
        // tab in the main window; wider as the tab grows.
        (*b.button)->setMinimumWidth(TwipsRect(0, 0, b.width, 0).width());
        (*b.button)->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        topRow->addWidget(*b.button);
    }
    topRow->addStretch();
    auto* side = new QVBoxLayout;
    for (const auto& e : edits) side->addWidget(*e.button);
    side->addStretch();
    auto* trees = new QVBoxLayout;
    trees->addWidget(memory_tree, 4);
    trees->addWidget(memory_settings, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(trees, 1);
    middle->addLayout(side);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(TwipsRect(0, 0, 120, 0).width(), 4, TwipsRect(0, 0, 120, 0).width(), 4);
    page->addLayout(topRow);
    page->addLayout(middle, 1);
    page->addWidget(memory_erase_first);
    page->addWidget(memory_status);
    page->addWidget(memory_progress);
    UpdateButtons();
}

MemoryTab::~MemoryTab() = default;

bool MemoryTab::Busy() const { return runner_->Running(); }

void MemoryTab::Abandon(bool lineStillOpen) { runner_->Abandon(lineStillOpen); }

void MemoryTab::Edited() {
    unwritten_ = true;
    SetInSync(false);
}

void MemoryTab::ShowMemory(const ScannerMemory& memory) {
    memory_tree->Show(memory);
    memory_settings->Show(memory.settings);
}

void MemoryTab::ReadClick() {
    if (!SettleEdits("reading the scanner")) return;
    Start(std::make_unique<MemoryReader>(), Run::Read);
}

bool MemoryTab::SettleEdits(const QString& doing) {
    if (!unwritten_) return true;
    switch (Ask(QString("The Memory tab has edits that are not written to the scanner. Write them to the scanner "
                        "before %1?")
                    .arg(doing))) {
        case EditsChoice::Write:
            WriteClick();
            return false;
        case EditsChoice::Discard:
            unwritten_ = false;
            return true;
        case EditsChoice::Cancel:
            break;
    }
    return false;
}

MemoryTab::EditsChoice MemoryTab::Ask(const QString& question) {
    if (ask_) return ask_(question);
    QMessageBox box(QMessageBox::Question, "Unwritten edits", question, QMessageBox::NoButton, this);
    QPushButton* write = box.addButton("Write to scanner", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("Discard edits", QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
    write->setAccessibleName("Write the edits to the scanner");
    discard->setAccessibleName("Discard the edits");
    cancel->setAccessibleName("Cancel and keep the edits");
    box.setDefaultButton(cancel);
    box.exec();
    if (box.clickedButton() == write) return EditsChoice::Write;
    if (box.clickedButton() == discard) return EditsChoice::Discard;
    return EditsChoice::Cancel;
}

void MemoryTab::WriteClick() {
    const std::optional<ScannerMemory> edited = TreeMemory("Not written");
    if (!edited) return;
    if (const std::vector<std::string> problems = ValidateMemory(*edited, "Not written"); !problems.empty()) {
        Say(Text(problems.front()));
        return;
    }
    // Only what differs from the scanner is written, compared with what it
    // holds now: it may have changed since the last read (another restore,
    // its keypad), so it is read first.
    Start(std::make_unique<MemoryReader>(), Run::ReadForWrite);
}

void MemoryTab::StartWrite() {
    const std::optional<ScannerMemory> edited = TreeMemory("Not written");
    if (!edited) return;
    const bool erase = memory_erase_first->isChecked();
    WritePlan plan = erase ? PlanRestore(WithoutIndexes(*edited)) : PlanWrite(*scanner_, *edited);
    if (WritesNothing(plan)) {
        Say("Nothing to write: the scanner holds the tree already.");
        unwritten_ = false;
        SetInSync(true);
        return;
    }
    Start(std::make_unique<PlanRunner>(std::move(plan)), Run::Write);
}

void MemoryTab::Start(std::unique_ptr<MemoryEngine> engine, Run run) {
    engine_ = std::move(engine);
    run_ = run;
    memory_progress->clear();
    Say({});  // the last run's end is not this one's
    const QString refused = runner_->Start(*engine_);
    if (!refused.isEmpty()) Say(refused);
    UpdateButtons();
}

void MemoryTab::Ended(const MemoryStep& end) {
    const QString message = Text(end.message);
    memory_progress->clear();  // the work is over: its end is the status line
    if (end.outcome != MemoryOutcome::Finished) {
        // After a write that did not finish, what the scanner holds is not known.
        if (run_ == Run::Write) scanner_.reset();
        Say(message);
        if (end.outcome == MemoryOutcome::Failed) host_.tell(message);
        UpdateButtons();
        return;
    }
    switch (run_) {
        case Run::Read:
            scanner_ = static_cast<MemoryReader&>(*engine_).Result();
            ShowMemory(*scanner_);
            unwritten_ = false;
            SetInSync(true);
            break;
        case Run::ReadForWrite:
            scanner_ = static_cast<MemoryReader&>(*engine_).Result();
            StartWrite();
            return;
        case Run::Write:
            scanner_ = static_cast<PlanRunner&>(*engine_).Result();
            memory_tree->TakeIndexes(*scanner_);
            unwritten_ = false;
            SetInSync(true);
            break;
    }
    Say(message);
    UpdateButtons();
}

void MemoryTab::ShowProgress(const MemoryProgress& progress, double perSecond) {
    memory_progress->setText(Text(ProgressText(progress, perSecond)));
}

std::optional<ScannerMemory> MemoryTab::TreeMemory(const char* doing) {
    std::string problem;
    std::optional<ScannerMemory> memory = memory_tree->Memory(&problem);
    if (memory && !memory_settings->Settings(&memory->settings, &problem)) memory.reset();
    if (!memory) Say(QString("%1: fix the marked cell first: %2").arg(doing, Text(problem)));
    return memory;
}

std::optional<std::string> MemoryTab::ReadChosen(FileChoice choice, QString& path) {
    path = Choose(choice);
    if (path.isEmpty()) return std::nullopt;
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) host_.tell(path + " cannot be read.");
    return bytes;
}

void MemoryTab::OpenClick() {
    QString path;
    const std::optional<std::string> bytes = ReadChosen(FileChoice::Open, path);
    if (!bytes) return;
    std::string problem;
    const std::optional<ScannerMemory> memory = ReadMemoryJson(*bytes, NameOf(path), &problem);
    if (!memory) {
        host_.tell(Text(problem));
        return;
    }
    ShowMemory(*memory);
    unwritten_ = true;
    SetInSync(false);
    const std::vector<std::string> problems = ValidateMemory(*memory, NameOf(path));
    Say(problems.empty() ? "Opened " + path + "." : Text(problems.front()));
}

void MemoryTab::SaveClick() {
    WriteTree("Not saved", FileChoice::Save, WriteMemoryJson, ".json", "Saved in %1.");
}

void MemoryTab::ExportClick() {
    WriteTree("Not exported", FileChoice::ExportCsv, WriteChannelsCsv, ".csv", "Exported the channels to %1.");
}

void MemoryTab::WriteTree(const char* refusal, FileChoice choice, std::string (*render)(const ScannerMemory&),
                          const char* extension, const QString& done) {
    const std::optional<ScannerMemory> memory = TreeMemory(refusal);
    if (!memory) return;
    QString path = Choose(choice);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += extension;
    QString error;
    if (!WriteFileAtomically(path, render(*memory), &error)) {
        host_.tell(QString("%1 cannot be written (%2).").arg(path, error));
        return;
    }
    if (choice == FileChoice::Save) unwritten_ = false;  // kept in the file
    Say(done.arg(path));
}

void MemoryTab::ImportClick() {
    const std::optional<ScannerMemory> memory = TreeMemory("Not imported");
    if (!memory) return;
    QString path;
    const std::optional<std::string> bytes = ReadChosen(FileChoice::ImportCsv, path);
    if (!bytes) return;
    std::string problem;
    const std::optional<ChannelImport> imported =
        ReadChannelsCsv(*memory, *bytes, NameOf(path), memory_tree->CurrentGroup(), &problem);
    if (!imported) {
        host_.tell(Text(problem));
        return;
    }
    ShowMemory(imported->memory);
    unwritten_ = true;
    SetInSync(false);
    Say(QString("Imported %1 channels into %2 groups, in place of the channels they had.")
            .arg(imported->channels)
            .arg(imported->groups));
}

void MemoryTab::RebuildClick() {
    const std::optional<ScannerMemory> memory = TreeMemory("Not rebuilt");
    if (!memory) return;
    QString error;
    if (!WriteFileAtomically(JoinPath(host_.appDirectory, "hit_intel.txt"), HitIntelFromMemory(*memory), &error)) {
        host_.tell(QString("hit_intel.txt cannot be written (%1); the old table stays in use.").arg(error));
        return;
    }
    host_.tableWritten();
    Say("hit_intel.txt was rebuilt from the tree.");
}

void MemoryTab::Say(const QString& text) {
    memory_status->setText(text);
    memory_status->setToolTip(text);
}

void MemoryTab::SetInSync(bool inSync) {
    inSync_ = inSync;
    UpdateButtons();
}

void MemoryTab::UpdateButtons() {
    const bool busy = runner_->Running();
    for (QWidget* control : std::initializer_list<QWidget*>{memory_read, memory_write, memory_open, memory_save,
                                                             memory_import, memory_export, memory_add_system,
                                                             memory_add, memory_delete, memory_up, memory_down,
                                                             memory_tree, memory_settings, memory_erase_first})
        control->setEnabled(!busy);
    memory_cancel->setEnabled(busy);
    memory_hit_intel->setEnabled(!busy && inSync_);
}

QString MemoryTab::Choose(FileChoice choice) {
    if (choose_) return choose_(choice);
    const QString memoryFiles = "Memory files (*.json);;All files (*)";
    const QString csvFiles = "CSV files (*.csv);;All files (*)";
    switch (choice) {
        case FileChoice::Open:
            return QFileDialog::getOpenFileName(this, "Open memory file", host_.appDirectory, memoryFiles);
        case FileChoice::Save:
            return QFileDialog::getSaveFileName(this, "Save memory file", host_.appDirectory, memoryFiles);
        case FileChoice::ImportCsv:
            return QFileDialog::getOpenFileName(this, "Import channels", host_.appDirectory, csvFiles);
        case FileChoice::ExportCsv:
            return QFileDialog::getSaveFileName(this, "Export channels", host_.appDirectory, csvFiles);
    }
    return {};
}

}  // namespace quorvane
