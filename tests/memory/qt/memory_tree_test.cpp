// The Memory tab's tree: what its row edits make of the memory, which the
// end-to-end tests only touch one cell of.
#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

#include "app/qt/TextEntry.h"
#include "memory/MemoryTestData.h"
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
