#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "memory/MemoryEngine.h"
#include "memory/ScannerMemory.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace quorvane {

class MemoryRunner;
class MemorySettingsTree;
class MemoryTree;
class ScannerLink;

// What the Memory tab needs from the rest of the program.
struct MemoryHost {
    ScannerLink* link = nullptr;
    QString appDirectory;
    std::function<void(const QString&)> tell;  // a message window
    std::function<void()> tableWritten;        // hit_intel.txt is new: reload the table
};

// The "Memory" tab: the scanner's programming as an editable tree.
// "Read from scanner" fills it; rows are added, deleted, moved and edited
// (each cell checked as it is typed); "Write to scanner" sends only what
// changed from what the scanner holds at that moment (it is read first, so
// a change made from outside since the last read is seen; PlanWrite) and
// reads the changed records back to check them. "Open…" and
// "Save…" keep the tree as a memory file, "Import CSV…" and "Export CSV…"
// its channels for a spreadsheet (ReadChannelsCsv has the rules), and
// "Rebuild hit_intel.txt" writes the hit table from the tree while it is
// what the scanner holds (after a read or a write), with no second read.
// Under the tree, the "Scanner settings" node shows and edits the global
// settings; the box "Erase the scanner first" makes Write clear the scanner
// ("CLR": every record, every setting back to its default) and write the
// whole tree and its settings, instead of only what differs.
//
// A read or a write holds the line (the poll, keys and the harvest wait),
// shows records done/total and commands per second, and can be cancelled.
class MemoryTab : public QWidget {
    Q_OBJECT
public:
    explicit MemoryTab(MemoryHost host, QWidget* parent = nullptr);
    ~MemoryTab() override;

    // The line goes away (Station::Stopping): a run under way ends.
    void Abandon(bool lineStillOpen);
    bool Busy() const;

    // Replaceable by tests: the file dialogs; empty for none chosen.
    enum class FileChoice { Open, Save, ImportCsv, ExportCsv };
    void SetFileChooser(std::function<QString(FileChoice)> chooser) { choose_ = std::move(chooser); }

    // Whether the tree holds edits (or an opened or imported file) neither
    // written to the scanner nor saved in a file since.
    bool HasUnwrittenEdits() const { return unwritten_; }
    // Before something that would lose such edits (`doing`: "reading the
    // scanner", "closing the window"), asks what to do with them: write them
    // (the write starts; the caller does not go on), discard them, or cancel.
    // True when the caller may go on: no such edits, or discarded.
    enum class EditsChoice { Write, Discard, Cancel };
    bool SettleEdits(const QString& doing);
    // Replaceable by tests: the question (its text given).
    void SetEditsAsker(std::function<EditsChoice(const QString&)> asker) { ask_ = std::move(asker); }

private:
    enum class Run { Read, ReadForWrite, Write };

    void ReadClick();
    void WriteClick();
    void OpenClick();
    void SaveClick();
    void ImportClick();
    void ExportClick();
    void RebuildClick();
    void StartWrite();
    void Start(std::unique_ptr<MemoryEngine> engine, Run run);
    void Ended(const MemoryStep& end);
    void ShowProgress(const MemoryProgress& progress, double perSecond);
    // The tree as a memory that can be written; nothing (and the reason
    // shown) when it cannot be.
    std::optional<ScannerMemory> TreeMemory(const char* doing);
    void Say(const QString& text);
    // Shows a memory in the tree and the settings node.
    void ShowMemory(const ScannerMemory& memory);
    void Edited();
    void SetInSync(bool inSync);
    void UpdateButtons();
    QString Choose(FileChoice choice);
    EditsChoice Ask(const QString& question);
    // The bytes of a file the user chooses (path), or nothing when none is
    // chosen or it cannot be read (the user is told).
    std::optional<std::string> ReadChosen(FileChoice choice, QString& path);
    // Writes the tree, rendered, to a file the user chooses (whole or not at
    // all) and says done with its path; refusal is said when the tree has a fault.
    // A name without an extension gets `extension` (".json"), so Open… lists it.
    void WriteTree(const char* refusal, FileChoice choice, std::string (*render)(const ScannerMemory&),
                   const char* extension, const QString& done);

    MemoryHost host_;
    std::function<QString(FileChoice)> choose_;
    std::function<EditsChoice(const QString&)> ask_;
    bool unwritten_ = false;
    MemoryRunner* runner_ = nullptr;
    std::unique_ptr<MemoryEngine> engine_;
    Run run_ = Run::Read;
    std::optional<ScannerMemory> scanner_;  // the scanner's memory as last read or written
    bool inSync_ = false;                   // the tree is what the scanner holds
    MemoryTree* memory_tree = nullptr;
    MemorySettingsTree* memory_settings = nullptr;
    QCheckBox* memory_erase_first = nullptr;
    QPushButton* memory_read = nullptr;
    QPushButton* memory_write = nullptr;
    QPushButton* memory_cancel = nullptr;
    QPushButton* memory_open = nullptr;
    QPushButton* memory_save = nullptr;
    QPushButton* memory_import = nullptr;
    QPushButton* memory_export = nullptr;
    QPushButton* memory_hit_intel = nullptr;
    QPushButton* memory_add_system = nullptr;
    QPushButton* memory_add = nullptr;
    QPushButton* memory_delete = nullptr;
    QPushButton* memory_up = nullptr;
    QPushButton* memory_down = nullptr;
    QLabel* memory_status = nullptr;
    QLabel* memory_progress = nullptr;
};

}  // namespace quorvane
