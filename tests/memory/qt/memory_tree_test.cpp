// The Memory tab's tree: what its row edits make of the memory, which the
// end-to-end tests only touch one cell of.
#include <gtest/gtest.h>

#include "app/qt/TextEntry.h"
#include "memory/MemoryTestData.h"
#include "memory/qt/MemoryCellText.h"
#include "memory/qt/MemoryTree.h"
#include "QtTestApp.h"

namespace quorvane {
namespace {

QApplication& App() { return test::QtApp(); }

// A row by its place: system, then child, then grandchild (-1: none).
QTreeWidgetItem* At(MemoryTree& tree, int s, int c = -1, int m = -1) {
    QTreeWidgetItem* item = tree.topLevelItem(s);
    if (c >= 0) item = item->child(c);
    if (m >= 0) item = item->child(m);
    return item;
}

TEST(MemoryTree, RowEditsGiveTheMemoryTheyShow) {
    App();
    using Edit = std::function<void(ScannerMemory&)>;
    auto fire = [](ScannerMemory& m) -> std::vector<Channel>& { return m.systems[0].groups[0].channels; };
    const struct {
        const char* what;
        std::vector<int> row;
        std::function<void(MemoryTree&)> act;
        Edit expected;
    } table[] = {
        {"a channel down", {0, 0, 0}, [](MemoryTree& t) { t.Move(1); },
         [&](ScannerMemory& m) { std::swap(fire(m)[0], fire(m)[1]); }},
        {"the last channel of a group down: to the top of the next group", {0, 0, 2}, [](MemoryTree& t) { t.Move(1); },
         [&](ScannerMemory& m) {
             auto& sheriff = m.systems[0].groups[1].channels;
             sheriff.insert(sheriff.begin(), fire(m)[2]);
             fire(m).pop_back();
         }},
        {"the first channel of all up: stays", {0, 0, 0}, [](MemoryTree& t) { t.Move(-1); }, [](ScannerMemory&) {}},
        {"a channel group down: no conventional system follows", {0, 1}, [](MemoryTree& t) { t.Move(1); },
         [](ScannerMemory&) {}},
        {"a talkgroup group up: not among the sites", {1, 1}, [](MemoryTree& t) { t.Move(-1); },
         [](ScannerMemory&) {}},
        {"a system up", {1}, [](MemoryTree& t) { t.Move(-1); },
         [](ScannerMemory& m) { std::swap(m.systems[0], m.systems[1]); }},
        {"delete a channel", {0, 0, 1}, [](MemoryTree& t) { t.Delete(); },
         [&](ScannerMemory& m) { fire(m).erase(fire(m).begin() + 1); }},
        {"delete a site", {1, 0}, [](MemoryTree& t) { t.Delete(); },
         [](ScannerMemory& m) { m.systems[1].sites.clear(); }},
        {"add to a trunked system: a talkgroup group", {1}, [](MemoryTree& t) { t.Add(); },
         [](ScannerMemory& m) { m.systems[1].groups.push_back(test::TgGrp("", "New group", {})); }},
        {"add a system after the current one", {0, 1, 0}, [](MemoryTree& t) { t.AddSystem(); },
         [](ScannerMemory& m) {
             System system;
             system.type = "CNV";
             system.fields[system_field::Name] = "New system";
             m.systems.insert(m.systems.begin() + 1, system);
         }},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        MemoryTree tree;
        const ScannerMemory memory = test::SmallMemory();
        tree.Show(memory);
        const auto place = [&row](std::size_t at) { return at < row.row.size() ? row.row[at] : -1; };
        tree.setCurrentItem(At(tree, place(0), place(1), place(2)));
        int edits = 0;
        QObject::connect(&tree, &MemoryTree::Edited, [&edits] { ++edits; });
        row.act(tree);
        ScannerMemory expected = memory;
        // A group of new rows: their blank settings are the scanner's defaults.
        row.expected(expected);
        for (System& system : expected.systems)
            for (Group& group : system.groups)
                if (group.index.empty()) group.fields = {group.fields[0], "", ""};
        std::string problem;
        const std::optional<ScannerMemory> shown = tree.Memory(&problem);
        ASSERT_TRUE(shown) << problem;
        EXPECT_EQ(*shown, expected);
        EXPECT_EQ(edits, *shown == memory ? 0 : 1);
    }
}

// A value typed into a cell changes that value of the memory and nothing
// else; one the scanner would not take keeps the tree from giving a memory,
// with a message naming the record.
TEST(MemoryTree, ATypedCellChangesExactlyItsValueOrIsRefusedNamingItsRecord) {
    App();
    using Edit = std::function<void(ScannerMemory&)>;
    constexpr int kName = 0, kFrequency = 2, kMod = 4, kTone = 5, kKey = 7, kHold = 13;
    const auto disp = [](ScannerMemory& m) -> Fields& { return m.systems[0].groups[0].channels[0].fields; };
    const auto fire = [](ScannerMemory& m) -> Fields& { return m.systems[0].groups[0].fields; };
    const struct {
        std::vector<int> row;
        int column;
        const char* typed;
        Edit change;          // nothing: the memory stays as it was
        std::string refused;  // the start of the message; empty: taken
    } table[] = {
        {{0, 0, 0}, kFrequency, "154.1", [&](ScannerMemory& m) { disp(m)[channel_field::Frequency] = "01541000"; }},
        {{0, 0, 0}, kName, "Dispatch", [&](ScannerMemory& m) { disp(m)[channel_field::Name] = "Dispatch"; }},
        {{0, 0, 0}, kTone, "100.0", [&](ScannerMemory& m) { disp(m)[channel_field::Tone] = "76"; }},
        {{0, 0, 0}, kMod, "am", [&](ScannerMemory& m) { disp(m)[channel_field::Modulation] = "AM"; }},
        {{0, 0}, kName, "Fire 2", [&](ScannerMemory& m) { fire(m)[group_field::Name] = "Fire 2"; }},
        {{0, 0}, kKey, "5", [&](ScannerMemory& m) { fire(m)[group_field::QuickKey] = "5"; }},
        {{1}, kName, "Metro 2", [](ScannerMemory& m) { m.systems[1].fields[system_field::Name] = "Metro 2"; }},
        {{0}, kHold, "5", [](ScannerMemory& m) { m.systems[0].fields[system_field::HoldTime] = "5"; }},
        {{0}, kGroupKeysColumn, "10000 00001", [](ScannerMemory& m) { m.systems[0].groupQuickKeys = "1000000001"; }},
        {{1}, kLockedIdsColumn, "100, 200", [](ScannerMemory& m) { m.systems[1].lockedIds = {"100", "200"}; }},
        {{1}, kLockedIdsColumn, "", [](ScannerMemory& m) { m.systems[1].lockedIds.clear(); }},
        {{0}, kLockedIdsColumn, "100", {}},  // a conventional system has none
        {{0, 0, 0}, kFrequency, "600", {},
         "system 1 \"County\" group 1 \"Fire\" channel 1 \"Disp\": frequency 600.0000 is outside the scanner's bands"},
        {{0}, kHold, "300", {}, "system 1 \"County\": holdTime 300 is outside 0 to 255"},
        {{0}, kGroupKeysColumn, "10201", {}, "system 1 \"County\": groupQuickKeys \"10201\" is not ten digits 0 (off) or 1"},
        {{1}, kLockedIdsColumn, "100 70000", {},
         "system 2 \"Metro\": lockedIds \"70000\" is beyond 65535, the largest Motorola talkgroup ID"},
    };
    ScannerMemory memory = test::SmallMemory();
    memory.settings = ScannerSettings{};
    memory.systems[0].groupQuickKeys = memory.systems[1].groupQuickKeys = "1111111111";
    memory.systems[1].lockedIds = {"300"};
    for (const auto& row : table) {
        SCOPED_TRACE(std::to_string(row.column) + " " + row.typed);
        MemoryTree tree;
        tree.Show(memory);
        int edits = 0;
        QObject::connect(&tree, &MemoryTree::Edited, [&edits] { ++edits; });
        const auto place = [&row](std::size_t at) { return at < row.row.size() ? row.row[at] : -1; };
        QTreeWidgetItem* item = At(tree, place(0), place(1), place(2));
        item->setData(row.column, Qt::EditRole, QString::fromUtf8(row.typed));
        std::string problem;
        const std::optional<ScannerMemory> shown = tree.Memory(&problem);
        EXPECT_EQ(item->data(row.column, Qt::BackgroundRole).isValid(), !row.refused.empty());
        if (!row.refused.empty()) {
            EXPECT_FALSE(shown);
            EXPECT_EQ(problem.substr(0, row.refused.size()), row.refused);
            const std::string tip = item->data(row.column, Qt::ToolTipRole).toString().toStdString();
            EXPECT_TRUE(!tip.empty() && problem.find(tip) != std::string::npos) << tip;  // the cell says why
            continue;
        }
        ScannerMemory expected = memory;
        expected.settings.reset();  // the settings node's
        if (row.change) row.change(expected);
        ASSERT_TRUE(shown) << problem;
        EXPECT_EQ(*shown, expected);
        EXPECT_EQ(edits, row.change ? 1 : 0);
    }
    // The lists show as the scanner keeps them; a memory without the
    // scanner's settings (a file of the first version) has none to edit.
    MemoryTree tree;
    tree.Show(memory);
    EXPECT_EQ(At(tree, 1)->text(kGroupKeysColumn), "1111111111");
    EXPECT_EQ(At(tree, 1)->text(kLockedIdsColumn), "300");
    memory.settings.reset();
    tree.Show(memory);
    At(tree, 1)->setData(kLockedIdsColumn, Qt::EditRole, "400");
    EXPECT_EQ(tree.Memory(nullptr)->systems[1].lockedIds, std::vector<std::string>{"300"});
}

TEST(MemoryTree, ANewChannelIsMarkedUntilItHasAFrequencyAndTheTreeKeepsItsKeys) {
    App();
    MemoryTree tree;
    tree.Show(test::SmallMemory());
    tree.setCurrentItem(At(tree, 0, 0, 0));
    EXPECT_TRUE(KeepsItsKeys(&tree));
    EXPECT_EQ(tree.CurrentGroup()->group, 0u);
    tree.Add();
    std::string problem;
    EXPECT_FALSE(tree.Memory(&problem));
    EXPECT_EQ(problem, "system 1 \"County\" group 1 \"Fire\" channel 2 \"New channel\": frequency is missing");
    QTreeWidgetItem* added = At(tree, 0, 0, 1);
    EXPECT_TRUE(added->data(2, Qt::BackgroundRole).isValid());
    added->setData(2, Qt::EditRole, "154.1 MHz");  // not a value at all: kept as typed
    EXPECT_EQ(added->text(2), "154.1 MHz");
    EXPECT_FALSE(tree.Memory(&problem));
    added->setData(2, Qt::EditRole, "154.1");
    ASSERT_TRUE(tree.Memory(&problem)) << problem;
    EXPECT_EQ(tree.Memory(&problem)->systems[0].groups[0].channels[1].fields[channel_field::Frequency], "01541000");

    tree.setEditTriggers(QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(KeepsItsKeys(&tree));  // a view to look at gives its keys to the scanner
}

// Tone, step and modulation show and take people's units; a byte that looks
// like a comma shows as its number and comes back as the same byte.
TEST(MemoryTree, CellsShowAndTakeUnitsAndNoByteLooksLikeAComma) {
    App();
    MemoryTree tree;
    ScannerMemory memory = test::SmallMemory();
    Channel& disp = memory.systems[0].groups[0].channels[0];
    disp.fields[channel_field::Tone] = "64";
    disp.fields[channel_field::Step] = "1250";
    disp.fields[channel_field::Name] = "Disp\x82" "A";
    tree.Show(memory);
    QTreeWidgetItem* row = At(tree, 0, 0, 0);
    constexpr int kName = 0, kMod = 4, kTone = 5, kStep = 6;
    EXPECT_EQ(row->text(kName), QString::fromUtf8("Disp\u27E882\u27E9A"));
    EXPECT_EQ(row->text(kMod), "NFM");
    EXPECT_EQ(row->text(kTone), "67.0 Hz");
    EXPECT_EQ(row->text(kStep), "12.5 kHz");
    const struct {
        int column;
        const char* typed;
        std::size_t field;
        std::string stored;  // empty: refused, the cell marked
        const char* shown;
    } table[] = {
        {kTone, "100.0", channel_field::Tone, "76", "100.0 Hz"},
        {kTone, "67", channel_field::Tone, "64", "67.0 Hz"},
        {kTone, "D023", channel_field::Tone, "128", "DCS 023"},
        {kTone, "67.1", channel_field::Tone, "", "67.1"},
        {kStep, "6.25", channel_field::Step, "625", "6.25 kHz"},
        {kStep, "Auto", channel_field::Step, "0", "Auto"},
        {kMod, "fmn", channel_field::Modulation, "NFM", "NFM"},
        {kMod, "am", channel_field::Modulation, "AM", "AM"},
        {kName, "Disp\u27E882\u27E9B", channel_field::Name, "Disp\x82" "B", "Disp\u27E882\u27E9B"},
    };
    for (const auto& cell : table) {
        SCOPED_TRACE(cell.typed);
        row->setData(cell.column, Qt::EditRole, QString::fromUtf8(cell.typed));
        EXPECT_EQ(row->text(cell.column), QString::fromUtf8(cell.shown));
        std::string problem;
        const std::optional<ScannerMemory> shown = tree.Memory(&problem);
        EXPECT_EQ(row->data(cell.column, Qt::BackgroundRole).isValid(), cell.stored.empty());
        if (cell.stored.empty()) {
            EXPECT_FALSE(shown);
            row->setData(cell.column, Qt::EditRole, "None");
            continue;
        }
        ASSERT_TRUE(shown) << problem;
        EXPECT_EQ(shown->systems[0].groups[0].channels[0].fields[cell.field], cell.stored);
    }
}

}  // namespace
}  // namespace quorvane
