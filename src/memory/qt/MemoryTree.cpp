#include "memory/qt/MemoryTree.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <algorithm>
#include <map>
#include <vector>

#include "memory/MemoryFields.h"
#include "memory/MemoryPlace.h"
#include "memory/MemoryValidation.h"
#include "memory/MemoryValues.h"
#include "memory/qt/MemoryCellText.h"

namespace quorvane {

// One record of the tree: its kind, its scanner index, its fields as the
// scanner's bytes, and the cells typed that are no value at all.
class MemoryRow : public QTreeWidgetItem {
public:
    MemoryRow(RowKind kind, Fields fields, std::string index = {}, std::string type = {})
        : QTreeWidgetItem(UserType), kind(kind), index(std::move(index)), type(std::move(type)),
          fields(std::move(fields)) {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    }

    const RecordLayout& Layout() const { return LayoutOf(kind); }
    const FieldRule* FieldIn(int column) const {
        const int at = FieldOfColumn(kind, column);
        return at < 0 ? nullptr : &Layout().fields[static_cast<std::size_t>(at)];
    }
    std::string& Value(int column) { return fields[static_cast<std::size_t>(FieldOfColumn(kind, column))]; }
    const std::string& Value(int column) const {
        return fields[static_cast<std::size_t>(FieldOfColumn(kind, column))];
    }

    bool Editable(int column) const {
        if (column == kTypeColumn) return kind == RowKind::System && index.empty() && childCount() == 0;
        // The lists are written with the scanner's settings: not without them.
        if (IsListColumn(column))
            return kind == RowKind::System && Tree() && Tree()->HoldsSettings() &&
                   (column == kGroupKeysColumn || IsTrunkedType(type));
        const FieldRule* field = FieldIn(column);
        return field && field->kind != FieldKind::Flag;
    }

    // What text typed into column would be wrong with; empty when nothing.
    QString Check(int column, const QString& text) const {
        if (column == kTypeColumn) return Q(TypeProblem(text.trimmed().toUpper().toStdString()));
        std::string bytes, problem;
        if (SystemLists read = lists; IsListColumn(column))
            return ListValue(column, type, text, &read, &problem) ? QString() : Q(problem);
        const FieldRule* field = FieldIn(column);
        if (!field) return {};
        CellValue(*field, text, &bytes, &problem, SystemType());
        return problem.empty() ? QString() : Q(std::string(field->key) + " " + problem);
    }

    // What is wrong with the cell now; empty when nothing.
    QString Problem(int column) const {
        if (column == kTypeColumn) return kind == RowKind::System ? Q(TypeProblem(type)) : QString();
        if (const auto typed = typed_.find(column); typed != typed_.end()) return Check(column, typed->second);
        if (IsListColumn(column)) return kind == RowKind::System ? Q(ListProblem(column, type, lists)) : QString();
        const FieldRule* field = FieldIn(column);
        if (!field) return {};
        const std::string problem = CellProblem(*field, Value(column), SystemType());
        return problem.empty() ? QString() : Q(std::string(field->key) + " " + problem);
    }

    QVariant data(int column, int role) const override {
        if (role == Qt::BackgroundRole) return Problem(column).isEmpty() ? QVariant() : QVariant(kMarked);
        const FieldRule* field = FieldIn(column);
        if (role == Qt::ToolTipRole) return Problem(column);
        if (column == kTypeColumn && (role == Qt::DisplayRole || role == Qt::EditRole)) return TypeText(kind, type);
        if (IsListColumn(column) && kind == RowKind::System && (role == Qt::DisplayRole || role == Qt::EditRole)) {
            const auto typed = typed_.find(column);
            return typed != typed_.end() ? typed->second : ListText(column, lists);
        }
        if (!field) return {};
        const std::string& value = Value(column);
        if (field->kind == FieldKind::Flag) {
            if (role != Qt::CheckStateRole) return {};
            return static_cast<int>(value == "1" ? Qt::Checked : value == "0" ? Qt::Unchecked : Qt::PartiallyChecked);
        }
        if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
        if (const auto typed = typed_.find(column); typed != typed_.end()) return typed->second;
        if (field->kind == FieldKind::Frequency && FitsKind(*field, value) && !value.empty())
            return QString::fromStdString(FrequencyMhzText(value));
        if (CodeInUnits(field->kind)) return QString::fromStdString(InUnits(field->kind, ScannerText(value)));
        return ShownText(value);
    }

    void setData(int column, int role, const QVariant& value) override {
        const FieldRule* field = FieldIn(column);
        std::string bytes, problem;
        if (role == Qt::EditRole && column == kTypeColumn && Editable(column)) {
            type = value.toString().trimmed().toUpper().toStdString();
        } else if (role == Qt::EditRole && IsListColumn(column) && Editable(column)) {
            if (ListValue(column, type, value.toString(), &lists, &problem)) typed_.erase(column);
            else typed_[column] = value.toString();
        } else if (field && field->kind == FieldKind::Flag && role == Qt::CheckStateRole) {
            Value(column) = value.toInt() == Qt::Checked ? "1" : "0";
        } else if (field && field->kind != FieldKind::Flag && role == Qt::EditRole) {
            if (CellValue(*field, value.toString(), &bytes, &problem)) {
                typed_.erase(column);
                Value(column) = bytes;
            } else {
                typed_[column] = value.toString();
            }
        } else {
            return;
        }
        emitDataChanged();
        if (MemoryTree* tree = Tree()) tree->RowChanged();
    }

    RowKind kind;
    std::string index;
    std::string type;  // a system's type; a group's "C" or "T"
    Fields fields;
    Fields trunk = Fields(trunk_field::Count);          // systems
    Fields bandPlan = Fields(band_plan_field::Count);   // systems
    SystemLists lists;                                 // systems

private:
    static QString Q(const std::string& text) { return QString::fromStdString(text); }
    MemoryTree* Tree() const { return static_cast<MemoryTree*>(treeWidget()); }
    // The type of the system the row lies in.
    const std::string& SystemType() const {
        const QTreeWidgetItem* top = this;
        while (top->parent()) top = top->parent();
        return static_cast<const MemoryRow*>(top)->type;
    }

    std::map<int, QString> typed_;  // cells whose text is no value at all, as typed
};

namespace {

MemoryRow* Row(QTreeWidgetItem* item) { return static_cast<MemoryRow*>(item); }

// Checks a cell while it is typed: the box turns red and says why.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(MemoryTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        MemoryRow* row = Row(tree_->itemFromIndex(index));
        const int column = index.column();
        if (!row || !row->Editable(column)) return nullptr;
        const FieldRule* field = row->FieldIn(column);
        if (field && CodeInUnits(field->kind)) return ChoiceEditor(parent, row, column, *field);
        auto* edit = new QLineEdit(parent);
        edit->setObjectName("memory_cell");
        edit->setAccessibleName(QString("%1 of %2").arg(kColumns[column].header, row->text(0)));
        connect(edit, &QLineEdit::textEdited, edit, [this, row, column, edit](const QString& text) {
            const QString problem = row->Check(column, text);
            const QString marked = QString("QLineEdit { background: %1; }").arg(kMarked.name());
            edit->setStyleSheet(problem.isEmpty() ? QString() : marked);
            edit->setToolTip(problem);
            tree_->ShowTyped(problem);
        });
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) box->setCurrentText(index.data(Qt::EditRole).toString());
        else QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) model->setData(index, box->currentText(), Qt::EditRole);
        else QStyledItemDelegate::setModelData(editor, model, index);
        if (MemoryRow* row = Row(tree_->itemFromIndex(index))) tree_->ShowTyped(row->Problem(index.column()));
    }

private:
    // A tone, step or modulation: a list in people's units that takes a
    // typed value in those units too, checked as it is typed.
    QWidget* ChoiceEditor(QWidget* parent, MemoryRow* row, int column, const FieldRule& field) const {
        auto* box = new QComboBox(parent);
        box->setObjectName("memory_cell_choice");
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        const std::vector<std::string> choices = field.kind == FieldKind::Tone   ? ToneChoices()
                                                 : field.kind == FieldKind::Step ? StepChoices()
                                                                                 : ModulationChoices();
        for (const std::string& choice : choices) box->addItem(QString::fromStdString(choice));
        box->setAccessibleName(QString("%1 of %2").arg(kColumns[column].header, row->text(0)));
        connect(box, &QComboBox::editTextChanged, box, [this, row, column, box](const QString& text) {
            const QString problem = row->Check(column, text);
            box->setToolTip(problem);
            tree_->ShowTyped(problem);
        });
        return box;
    }

    MemoryTree* tree_;
};

MemoryRow* NewRow(RowKind kind, const std::string& type = {}) {
    static const std::map<RowKind, const char*> names = {{RowKind::System, "New system"},
                                                         {RowKind::Site, "New site"},
                                                         {RowKind::Group, "New group"},
                                                         {RowKind::Channel, "New channel"},
                                                         {RowKind::Talkgroup, "New talkgroup"}};
    Fields fields(LayoutOf(kind).fields.size());
    if (const auto name = names.find(kind); name != names.end()) fields[0] = name->second;
    return new MemoryRow(kind, std::move(fields), {}, type);
}

MemoryRow* GroupRow(const Group& group, bool site) {
    auto* row = new MemoryRow(site ? RowKind::Site : RowKind::Group, group.fields, group.index, group.type);
    for (const Channel& channel : group.channels)
        row->addChild(new MemoryRow(RowKind::Channel, channel.fields, channel.index));
    for (const Talkgroup& talkgroup : group.talkgroups)
        row->addChild(new MemoryRow(RowKind::Talkgroup, talkgroup.fields, talkgroup.index));
    for (const TrunkFrequency& frequency : group.frequencies)
        row->addChild(new MemoryRow(RowKind::Frequency, frequency.fields, frequency.index));
    return row;
}

// Whether container holds records like row.
bool Holds(const MemoryRow& container, const MemoryRow& row) {
    switch (row.kind) {
        case RowKind::Channel:
            return container.kind == RowKind::Group && container.type != kTalkgroupGroupType;
        case RowKind::Talkgroup:
            return container.kind == RowKind::Group && container.type == kTalkgroupGroupType;
        case RowKind::Frequency:
            return container.kind == RowKind::Site;
        case RowKind::Group:
            return container.kind == RowKind::System &&
                   IsTrunkedType(container.type) == (row.type == kTalkgroupGroupType);
        case RowKind::Site:
            return container.kind == RowKind::System && IsTrunkedType(container.type);
        case RowKind::System:
            break;
    }
    return false;
}

// Where a list of rows like row begins and ends among container's children
// (a system holds its sites before its groups).
int ListStart(QTreeWidgetItem* container, RowKind kind) {
    int at = 0;
    if (kind == RowKind::Group)
        while (at < container->childCount() && Row(container->child(at))->kind == RowKind::Site) ++at;
    return at;
}
int ListEnd(QTreeWidgetItem* container, RowKind kind) {
    return kind == RowKind::Site ? ListStart(container, RowKind::Group) : container->childCount();
}

}  // namespace

MemoryTree::MemoryTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(kColumnCount);
    QStringList headers;
    for (const Column& column : kColumns) headers << column.header;
    setHeaderLabels(headers);
    for (int c = 0; c < kColumnCount; ++c) setColumnWidth(c, kColumns[c].widthPx);
    // A name of 16 wide characters fits beside the indentation of a channel.
    setColumnWidth(0, std::max(kColumns[0].widthPx,
                               fontMetrics().horizontalAdvance(QString(16, 'M')) + 3 * indentation() + 8));
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setSelectionMode(SingleSelection);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
}

void MemoryTree::Show(const ScannerMemory& memory) {
    showing_ = true;
    clear();
    model_ = memory.model.empty() ? kScannerModel : memory.model;
    firmware_ = memory.firmware;
    holdsSettings_ = memory.settings.has_value();
    QList<QTreeWidgetItem*> systems;
    for (const System& system : memory.systems) {
        auto* row = new MemoryRow(RowKind::System, system.fields, system.index, system.type);
        row->trunk = system.trunk;
        row->bandPlan = system.bandPlan;
        row->lists = {system.groupQuickKeys, system.lockedIds};
        for (const Group& site : system.sites) row->addChild(GroupRow(site, true));
        for (const Group& group : system.groups) row->addChild(GroupRow(group, false));
        systems << row;
    }
    addTopLevelItems(systems);
    expandAll();
    showing_ = false;
}

std::optional<ScannerMemory> MemoryTree::Memory(std::string* problem) const {
    // The global settings are the tab's settings node's; a system keeps its
    // quick keys and locked IDs.
    ScannerMemory memory{model_, firmware_, {}, std::nullopt};
    std::string first;
    const auto check = [&first](const MemoryRow& row, const std::string& place) {
        for (int c = 0; c < kColumnCount && first.empty(); ++c) {
            const QString cell = row.Problem(c);
            if (!cell.isEmpty()) first = place + ": " + cell.toStdString();
        }
    };
    for (int s = 0; s < topLevelItemCount(); ++s) {
        const MemoryRow& systemRow = *Row(topLevelItem(s));
        System system;
        system.index = systemRow.index;
        system.type = systemRow.type;
        system.fields = systemRow.fields;
        system.trunk = systemRow.trunk;
        system.bandPlan = systemRow.bandPlan;
        system.groupQuickKeys = systemRow.lists.groupQuickKeys;
        system.lockedIds = systemRow.lists.lockedIds;
        const std::string systemPlace = SystemPlace(static_cast<std::size_t>(s), system);
        check(systemRow, systemPlace);
        for (int g = 0; g < systemRow.childCount(); ++g) {
            const MemoryRow& groupRow = *Row(systemRow.child(g));
            const bool site = groupRow.kind == RowKind::Site;
            std::vector<Group>& list = site ? system.sites : system.groups;
            Group group;
            group.index = groupRow.index;
            group.type = groupRow.type.empty() ? kChannelGroupType : groupRow.type;
            group.fields = groupRow.fields;
            const std::string groupPlace = GroupPlace(systemPlace, list.size(), group, site);
            check(groupRow, groupPlace);
            for (int m = 0; m < groupRow.childCount(); ++m) {
                const MemoryRow& member = *Row(groupRow.child(m));
                const auto at = static_cast<std::size_t>(m);
                if (member.kind == RowKind::Channel) {
                    group.channels.push_back({member.index, member.fields});
                    check(member, ChannelPlace(groupPlace, at, group.channels.back()));
                } else if (member.kind == RowKind::Talkgroup) {
                    group.talkgroups.push_back({member.index, member.fields});
                    check(member, TalkgroupPlace(groupPlace, at, group.talkgroups.back()));
                } else {
                    group.frequencies.push_back({member.index, member.fields});
                    check(member, TrunkFrequencyPlace(groupPlace, at));
                }
            }
            list.push_back(std::move(group));
        }
        memory.systems.push_back(std::move(system));
    }
    if (!first.empty()) {
        if (problem) *problem = first;
        return std::nullopt;
    }
    return memory;
}

void MemoryTree::TakeIndexes(const ScannerMemory& memory) {
    for (int s = 0; s < topLevelItemCount() && s < static_cast<int>(memory.systems.size()); ++s) {
        const System& system = memory.systems[static_cast<std::size_t>(s)];
        MemoryRow* systemRow = Row(topLevelItem(s));
        systemRow->index = system.index;
        std::size_t site = 0, group = 0;
        for (int g = 0; g < systemRow->childCount(); ++g) {
            MemoryRow* groupRow = Row(systemRow->child(g));
            const bool isSite = groupRow->kind == RowKind::Site;
            const std::vector<Group>& list = isSite ? system.sites : system.groups;
            const std::size_t at = isSite ? site++ : group++;
            if (at >= list.size()) continue;
            groupRow->index = list[at].index;
            const Group& read = list[at];
            for (int m = 0; m < groupRow->childCount(); ++m) {
                const auto i = static_cast<std::size_t>(m);
                MemoryRow* member = Row(groupRow->child(m));
                if (member->kind == RowKind::Channel && i < read.channels.size()) member->index = read.channels[i].index;
                if (member->kind == RowKind::Talkgroup && i < read.talkgroups.size())
                    member->index = read.talkgroups[i].index;
                if (member->kind == RowKind::Frequency && i < read.frequencies.size())
                    member->index = read.frequencies[i].index;
            }
        }
    }
}

MemoryRow* MemoryTree::Current() const { return Row(currentItem()); }

void MemoryTree::Select(QTreeWidgetItem* item) {
    if (!item) return;
    if (item->parent()) item->parent()->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);
}

void MemoryTree::Add() {
    MemoryRow* current = Current();
    if (!current) {
        AddSystem();
        return;
    }
    MemoryRow* row = nullptr;
    switch (current->kind) {
        case RowKind::System:
            row = NewRow(RowKind::Group, IsTrunkedType(current->type) ? kTalkgroupGroupType : kChannelGroupType);
            current->addChild(row);
            break;
        case RowKind::Site:
            current->addChild(row = NewRow(RowKind::Frequency));
            break;
        case RowKind::Group:
            current->addChild(row = NewRow(current->type == kTalkgroupGroupType ? RowKind::Talkgroup : RowKind::Channel));
            break;
        case RowKind::Channel:
        case RowKind::Talkgroup:
        case RowKind::Frequency:
            row = NewRow(current->kind);
            current->parent()->insertChild(current->parent()->indexOfChild(current) + 1, row);
            break;
    }
    Select(row);
    RowChanged();
}

void MemoryTree::AddSystem() {
    QTreeWidgetItem* system = currentItem();
    while (system && system->parent()) system = system->parent();
    MemoryRow* row = NewRow(RowKind::System, kConventionalType);
    insertTopLevelItem(system ? indexOfTopLevelItem(system) + 1 : topLevelItemCount(), row);
    Select(row);
    RowChanged();
}

void MemoryTree::Delete() {
    MemoryRow* current = Current();
    if (!current) return;
    QTreeWidgetItem* parent = current->parent() ? current->parent() : invisibleRootItem();
    const int at = parent->indexOfChild(current);
    delete current;
    if (parent->childCount() > 0) Select(parent->child(std::min(at, parent->childCount() - 1)));
    else if (parent != invisibleRootItem()) Select(parent);
    RowChanged();
}

void MemoryTree::Move(int by) {
    MemoryRow* row = Current();
    if (!row || (by != -1 && by != 1)) return;
    QTreeWidgetItem* parent = row->parent() ? row->parent() : invisibleRootItem();
    const int at = parent->indexOfChild(row);
    const int to = at + by;
    const bool expanded = row->isExpanded();
    if (to >= 0 && to < parent->childCount() && Row(parent->child(to))->kind == row->kind) {
        parent->takeChild(at);
        parent->insertChild(to, row);
    } else if (row->parent()) {
        // Into the next list that can hold it: the containers at the
        // parent's level, in tree order.
        std::vector<QTreeWidgetItem*> containers;
        const auto collect = [&](QTreeWidgetItem* item) {
            if (Holds(*Row(item), *row) || item == parent) containers.push_back(item);
        };
        for (int s = 0; s < topLevelItemCount(); ++s) {
            QTreeWidgetItem* system = topLevelItem(s);
            if (Row(parent)->kind == RowKind::System) collect(system);
            else for (int g = 0; g < system->childCount(); ++g) collect(system->child(g));
        }
        const auto self = std::find(containers.begin(), containers.end(), parent) - containers.begin();
        const long next = static_cast<long>(self) + by;
        if (next < 0 || next >= static_cast<long>(containers.size())) return;
        QTreeWidgetItem* target = containers[static_cast<std::size_t>(next)];
        parent->takeChild(at);
        target->insertChild(by < 0 ? ListEnd(target, row->kind) : ListStart(target, row->kind), row);
    } else {
        return;
    }
    row->setExpanded(expanded);
    Select(row);
    RowChanged();
}

std::optional<GroupAt> MemoryTree::CurrentGroup() const {
    QTreeWidgetItem* item = currentItem();
    if (item && Row(item)->kind == RowKind::Channel) item = item->parent();
    if (!item || Row(item)->kind != RowKind::Group || Row(item)->type == kTalkgroupGroupType) return std::nullopt;
    QTreeWidgetItem* system = item->parent();
    const int group = system->indexOfChild(item) - ListStart(system, RowKind::Group);
    return GroupAt{static_cast<std::size_t>(indexOfTopLevelItem(system)), static_cast<std::size_t>(group)};
}

void MemoryTree::RowChanged() {
    if (!showing_) emit Edited();
}

void MemoryTree::ShowTyped(const QString& problem) { emit ProblemShown(problem); }

}  // namespace quorvane
