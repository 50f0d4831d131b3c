// The Memory tab's files with no scanner: a memory file opened, saved, its
// channels exported and imported through the tab's buttons.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "link/qt/ScannerLink.h"
#include "memory/MemoryFile.h"
#include "memory/qt/MemoryTab.h"
#include "memory/qt/MemoryTree.h"
#include "QtTestApp.h"

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

TEST(MemoryTab, OpensSavesExportsAndImportsWithoutAScanner) {
    test::QtApp();
    QTemporaryDir folder;
    ScannerLink link;
    QStringList told;
    MemoryHost host{&link, folder.path(), [&told](const QString& text) { told << text; }, [] {}};
    MemoryTab tab(host);
    QString chosen;
    tab.SetFileChooser([&chosen](MemoryTab::FileChoice) { return chosen; });
    const auto click = [&tab](const char* button) {
        QTest::mouseClick(tab.findChild<QPushButton*>(button), Qt::LeftButton);
    };
    const auto status = [&tab] { return tab.findChild<QLabel*>("memory_status")->toolTip().toStdString(); };

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

}  // namespace
}  // namespace quorvane
