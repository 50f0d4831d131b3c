#pragma once
#include <QString>
#include <QTreeWidget>
#include <optional>
#include <string>

#include "memory/ChannelCsv.h"
#include "memory/ScannerMemory.h"

namespace quorvane {

class MemoryRow;

// The scanner's memory as an editable tree: systems; in each its sites
// (holding the trunk frequencies) and groups (holding channels or
// talkgroups). Every setting of a record is a column, as the memory file
// names it; a record's cells of settings it does not have stay empty. Flags
// are check boxes, half-checked while not set (the scanner's default).
//
// A cell is checked as it is typed, by the memory file's rules
// (FieldProblem): a value the scanner would not take is kept as typed,
// marked red with its explanation as tooltip, and Memory() refuses the
// tree while any cell is marked, so it is never written.
//
// Each record keeps the scanner index it came with, and a system its trunk
// settings and band plan, which the tree does not show (they are edited in
// the memory file). A system's group quick keys and locked-out IDs are its
// last two cells, checked by the memory file's rules for its type; they go
// to the scanner with its settings, so they are shown and edited only for a
// memory that holds them (HoldsSettings). The global settings are not the
// tree's (MemorySettingsTree): Memory() gives none. A system's type can be
// chosen while it is new and empty.
class MemoryTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit MemoryTree(QWidget* parent = nullptr);

    void Show(const ScannerMemory& memory);
    // The tree as a memory with the indexes its records came with; nothing
    // while a cell is marked, *problem then naming the first one.
    std::optional<ScannerMemory> Memory(std::string* problem) const;
    // After a write: the indexes of memory, which has the tree's shape.
    void TakeIndexes(const ScannerMemory& memory);
    // Whether the memory shown held the scanner's settings.
    bool HoldsSettings() const { return holdsSettings_; }

    // Row edits at the current row. Add: a new record after a channel,
    // talkgroup or trunk frequency; a new member at the end of a group or
    // site; a new group at the end of a system. AddSystem: a conventional
    // system after the current one. Move: one place up (-1) or down (+1) in
    // its list; from either end of a list into the next group (or system)
    // that can hold it.
    void Add();
    void AddSystem();
    void Delete();
    void Move(int by);
    // The conventional group of the current row (the group itself or its
    // channel's), for rows of a CSV file that name none.
    std::optional<GroupAt> CurrentGroup() const;

    // From the rows: one of them changed.
    void RowChanged();
    // The problem of a cell being typed (empty: none), as it is typed.
    void ShowTyped(const QString& problem);

signals:
    // The user changed a value or a row (not Show or TakeIndexes).
    void Edited();
    // The problem of the cell being typed or just entered; empty when none.
    void ProblemShown(const QString& problem);

private:
    MemoryRow* Current() const;
    void Select(QTreeWidgetItem* item);

    std::string model_ = kScannerModel;
    std::string firmware_;
    bool holdsSettings_ = false;
    bool showing_ = false;
};

}  // namespace quorvane
