// The Memory tab's files with no scanner: a memory file opened, saved, its
// channels exported and imported through the tab's buttons.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTreeView>
#include <gtest/gtest.h>

#include "link/qt/ScannerLink.h"
#include "memory/MemoryFile.h"
#include "memory/qt/MemorySettingsTree.h"
#include "memory/qt/MemoryTab.h"
#include "memory/qt/MemoryTree.h"
#include "QtTestApp.h"
#include "memory/MemoryTestData.h"

namespace quorvane {
namespace {

std::string Read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

void Write(const QString& path, const std::string& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A Memory tab with no scanner, its file dialogs answered by `chosen`.
struct TabWithoutScanner {
    QApplication& app = test::QtApp();  // before any widget
    QTemporaryDir folder;
    ScannerLink link;
    QStringList told;
    MemoryTab tab{MemoryHost{&link, folder.path(), [this](const QString& text) { told << text; }, [] {}}};
    QString chosen;

    TabWithoutScanner() {
        tab.SetFileChooser([this](MemoryTab::FileChoice) { return chosen; });
    }
    void Click(const char* button) { QTest::mouseClick(tab.findChild<QPushButton*>(button), Qt::LeftButton); }
    std::string Status() const { return tab.findChild<QLabel*>("memory_status")->toolTip().toStdString(); }
};

TEST(MemoryTab, OpensSavesExportsAndImportsWithoutAScanner) {
    TabWithoutScanner without;
    MemoryTab& tab = without.tab;
    QTemporaryDir& folder = without.folder;
    QString& chosen = without.chosen;
    const QStringList& told = without.told;
    const auto click = [&without](const char* button) { without.Click(button); };
    const auto status = [&without] { return without.Status(); };

    chosen = QUORVANE_DATA_DIR "/quorvane-memory.example.json";
    click("memory_open");
    EXPECT_EQ(status(), "Opened " + chosen.toStdString() + ".");
    EXPECT_TRUE(tab.HasUnwrittenEdits());
    chosen = folder.filePath("saved");  // no extension: Open… would not list it
    click("memory_save");
    chosen += ".json";
    EXPECT_EQ(status(), "Saved in " + chosen.toStdString() + ".");
    EXPECT_FALSE(tab.HasUnwrittenEdits());  // kept in the file
    std::string problem;
    EXPECT_EQ(ReadMemoryJson(Read(chosen), "saved.json", &problem),
              ReadMemoryJson(Read(QUORVANE_DATA_DIR "/quorvane-memory.example.json"), "example", &problem));

    chosen = folder.filePath("channels.csv");
    click("memory_export");
    std::string csv = Read(chosen);
    const std::size_t at = csv.find("Fire Dispatch,154.4300");
    ASSERT_NE(at, std::string::npos) << csv;
    Write(chosen, csv.replace(at, 22, "Fire Main,154.4450"));
    click("memory_import");
    EXPECT_EQ(status().rfind("Imported ", 0), 0u) << status();
    auto* tree = tab.findChild<MemoryTree*>("memory_tree");
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->child(0)->text(0), "Fire Main");
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->child(0)->text(2), "154.4450");

    // Reading the scanner over unwritten edits asks first: cancel keeps
    // them, write tries to write them, discard lets the read go on.
    EXPECT_TRUE(tab.HasUnwrittenEdits());
    QStringList asked;
    const struct {
        MemoryTab::EditsChoice choice;
        bool unwrittenAfter;
        std::string status;
    } answers[] = {
        {MemoryTab::EditsChoice::Cancel, true, status()},
        {MemoryTab::EditsChoice::Write, true, "The scanner is not connected: choose its port and press Run on the "
                                              "Settings tab."},
        {MemoryTab::EditsChoice::Discard, false, "The scanner is not connected: choose its port and press Run on the "
                                                 "Settings tab."},
    };
    for (const auto& answer : answers) {
        tab.SetEditsAsker([&](const QString& question) {
            asked << question;
            return answer.choice;
        });
        click("memory_read");
        EXPECT_EQ(tab.HasUnwrittenEdits(), answer.unwrittenAfter);
        EXPECT_EQ(status(), answer.status);
    }
    EXPECT_EQ(asked, QStringList(3, "The Memory tab has edits that are not written to the scanner. Write them to the "
                                    "scanner before reading the scanner?"));
    EXPECT_TRUE(tab.SettleEdits("closing the window"));  // nothing left to ask about
    EXPECT_EQ(asked.size(), 3);

    // Reading and writing need the scanner; the hit table waits for a tree that is the scanner's.
    click("memory_write");
    EXPECT_EQ(status(), "The scanner is not connected: choose its port and press Run on the Settings tab.");
    EXPECT_FALSE(tab.findChild<QPushButton*>("memory_hit_intel")->isEnabled());
    EXPECT_TRUE(told.isEmpty()) << told.join("; ").toStdString();
}

// The tab lays itself out with its size: the tree takes the room a bigger
// tab (or a window of its own) gives, and a long fault wraps, whole.
TEST(MemoryTab, TheTreeGrowsWithTheTabAndALongFaultWraps) {
    test::QtApp();
    QTemporaryDir folder;
    ScannerLink link;
    MemoryTab tab(MemoryHost{&link, folder.path(), [](const QString&) {}, [] {}});
    auto* tree = tab.findChild<MemoryTree*>("memory_tree");
    auto* status = tab.findChild<QLabel*>("memory_status");
    tab.resize(800, 500);
    tab.show();
    QApplication::processEvents();
    const QSize small = tree->size();
    tab.resize(1200, 900);
    QApplication::processEvents();
    EXPECT_GT(tree->width(), small.width() + 300);
    EXPECT_GT(tree->height(), small.height() + 200);
    EXPECT_TRUE(status->wordWrap());
    EXPECT_GE(status->geometry().right(), tree->geometry().right());

    // Scrolled to its right end, the tree still shows each row's name, and a
    // row picked there is the tree's row.
    tab.resize(800, 500);
    tree->Show(test::SmallMemory());
    tree->expandAll();
    QApplication::processEvents();
    auto* names = tree->findChild<QTreeView*>("memory_names");
    ASSERT_NE(names, nullptr);
    EXPECT_FALSE(names->isVisible());
    tree->horizontalScrollBar()->setValue(tree->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    ASSERT_TRUE(names->isVisible());
    QTreeWidgetItem* channel = tree->topLevelItem(0)->child(0)->child(0);
    const QModelIndex shown = names->indexAt(names->visualRect(tree->indexFromItem(channel)).center());
    EXPECT_EQ(shown.data().toString(), channel->text(0));
    names->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(tree->currentItem(), channel);
    tree->horizontalScrollBar()->setValue(0);
    EXPECT_FALSE(names->isVisible());
}

// The "Scanner settings" node shows a file's settings, takes edits checked as
// the file's are, and keeps them through Save; a file without settings says
// a write leaves the scanner's as they are.
TEST(MemoryTab, TheScannerSettingsNodeShowsAndEditsTheSettingsOfTheFile) {
    TabWithoutScanner without;
    MemoryTab& tab = without.tab;
    QTemporaryDir& folder = without.folder;
    QString& chosen = without.chosen;
    const auto click = [&without](const char* button) { without.Click(button); };
    const auto status = [&without] { return without.Status(); };
    auto* node = tab.findChild<MemorySettingsTree*>("memory_settings")->topLevelItem(0);
    EXPECT_EQ(node->text(0), "Scanner settings");

    chosen = QUORVANE_DATA_DIR "/quorvane-memory.example.json";
    click("memory_open");
    EXPECT_EQ(node->childCount(), 0);
    EXPECT_EQ(node->text(1), "not in this memory: a write leaves the scanner's settings as they are");

    std::optional<ScannerMemory> memory = ReadMemoryJson(Read(chosen), "example", nullptr);
    ASSERT_TRUE(memory);
    memory->settings = ScannerSettings{{{"BLT", "AF"}, {"OMS", "Hello,World"}}, {"01544300"}};
    chosen = folder.filePath("with-settings.json");
    Write(chosen, WriteMemoryJson(*memory));
    click("memory_open");
    ASSERT_EQ(node->childCount(), 3);
    EXPECT_EQ(node->child(0)->text(0), "Backlight (BLT)");
    EXPECT_EQ(node->child(1)->text(1), "Hello,World");
    EXPECT_EQ(node->child(2)->text(1), "154.4300");

    const struct {
        int row;
        const char* typed;
        std::string refusal;  // empty: saved
    } table[] = {
        {0, "\u2713", "Not saved: fix the marked cell first: Scanner settings: Backlight (BLT) holds U+2713, which "
                      "the scanner cannot store"},
        {0, "AO", ""},
        {2, "154.43 600", "Not saved: fix the marked cell first: Scanner settings: locked-out frequency \"600\" is "
                          "not MHz within the scanner's bands"},
        {2, "154.43, 460.025", ""},
    };
    chosen = folder.filePath("edited.json");
    for (const auto& row : table) {
        SCOPED_TRACE(row.typed);
        node->child(row.row)->setText(1, QString::fromUtf8(row.typed));
        EXPECT_TRUE(tab.HasUnwrittenEdits());
        EXPECT_EQ(node->child(row.row)->background(1).style() != Qt::NoBrush, !row.refusal.empty());
        click("memory_save");
        EXPECT_EQ(status().substr(0, row.refusal.empty() ? 9 : row.refusal.size()),
                  row.refusal.empty() ? "Saved in " : row.refusal);
    }
    const std::optional<ScannerMemory> saved = ReadMemoryJson(Read(chosen), "edited.json", nullptr);
    ASSERT_TRUE(saved && saved->settings);
    EXPECT_EQ(saved->settings->values, (std::map<std::string, std::string>{{"BLT", "AO"}, {"OMS", "Hello,World"}}));
    EXPECT_EQ(saved->settings->lockedFrequencies, (std::vector<std::string>{"01544300", "04600250"}));
}

}  // namespace
}  // namespace quorvane
