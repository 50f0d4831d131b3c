// The real main window as assistive technology sees it, in this process:
// every control has a name a person understands and a role, tables name
// their columns, and the display is text in words that follows a hit.
#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QWheelEvent>
#include <set>

#include "E2eSupport.h"
#include "speech/qt/HitSpeaker.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

// The roles a person acts on.
bool Interactive(QAccessible::Role role) {
    static const std::set<QAccessible::Role> roles = {
        QAccessible::Button,   QAccessible::CheckBox,     QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::List,     QAccessible::Tree,        QAccessible::Table,
        QAccessible::PageTab,  QAccessible::PageTabList,  QAccessible::SpinBox,     QAccessible::Slider,
        QAccessible::ButtonMenu, QAccessible::ButtonDropDown, QAccessible::Link,
    };
    return roles.count(role) > 0;
}

struct Found {
    QString object;
    QAccessible::Role role;
    QString name;
    QString value;
};

void Walk(QAccessibleInterface* node, std::vector<Found>& out, int depth = 0) {
    if (!node || depth > 40) return;
    QString object;
    if (QObject* o = node->object()) {
        object = o->objectName();
        if (object.isEmpty()) object = QString(o->metaObject()->className()) + " in " + (o->parent() ? o->parent()->objectName() : "");
    }
    out.push_back({object, node->role(), node->text(QAccessible::Name), node->text(QAccessible::Value)});
    // Rows and cells of item views are reported by their headers, and a
    // list's box and popup by the list: walking them is not needed to find
    // unnamed controls.
    if (node->role() == QAccessible::Table || node->role() == QAccessible::Tree || node->role() == QAccessible::List ||
        node->role() == QAccessible::ComboBox) {
        return;
    }
    for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), out, depth + 1);
}

std::vector<Found> Controls(QWidget& window) {
    std::vector<Found> all;
    Walk(QAccessible::queryAccessibleInterface(&window), all);
    std::vector<Found> interactive;
    for (const Found& f : all) {
        if (Interactive(f.role)) interactive.push_back(f);
    }
    return interactive;
}

}  // namespace

TEST(AccessibilityEndToEnd, EveryControlHasANameAPersonUnderstands) {
    Panel p;
    const std::vector<Found> controls = Controls(*p.form);
    EXPECT_GT(controls.size(), 60u);
    for (const Found& c : controls) {
        EXPECT_FALSE(c.name.trimmed().isEmpty()) << c.object.toStdString() << " role " << c.role;
        EXPECT_NE(c.name, c.object) << "named by its object name: " << c.object.toStdString();
        EXPECT_NE(c.name.toLower(), "button") << c.object.toStdString();
        // A list is named by what it chooses, not by its value.
        if (c.role == QAccessible::ComboBox) {
            EXPECT_NE(c.name, c.value) << c.object.toStdString();
        }
    }
    // A few names as a person would look for them.
    const auto nameOf = [&](const char* object) {
        const auto it = std::find_if(controls.begin(), controls.end(), [&](const Found& f) { return f.object == object; });
        return it == controls.end() ? QString() : it->name;
    };
    const std::pair<const char*, const char*> expected[] = {
        {"key_f", "Function"},           {"key_left", "Knob left"},        {"key_cconly", "Close Call only"},
        {"key_light", "Light"},          {"grdInfo", "Log Scanner Hits"}, {"direct_entry", "Direct entry frequency"},
        {"Combo2", "Baud rate"},         {"web_address", "Web remote address"}, {"web_port", "Web remote port"},
        {"memory_tree", "Scanner memory"}, {"SpeakHitsCheck", "Speak hits"},
    };
    for (const auto& [object, name] : expected) EXPECT_EQ(nameOf(object), name) << object;
    // Icon keys tell what they are when the mouse rests on them.
    EXPECT_EQ(Key(*p.form, "key_power")->toolTip(), "Power");
}

TEST(AccessibilityEndToEnd, TablesReportTheirColumnHeadings) {
    Panel p;
    for (const char* name : {"grdInfo", "history_table"}) {
        auto* view = p.form->findChild<QTableView*>(name);
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
        ASSERT_NE(table, nullptr) << name;
        QAccessibleTableInterface* cells = table->tableInterface();
        ASSERT_NE(cells, nullptr) << name;
        QStringList headings;
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            headings << view->model()->headerData(column, Qt::Horizontal, Qt::AccessibleTextRole).toString();
            if (headings.back().isEmpty()) headings.back() = view->model()->headerData(column, Qt::Horizontal).toString();
        }
        EXPECT_TRUE(headings.contains("Channel")) << name << ": " << headings.join(", ").toStdString();
    }
    auto* log = p.form->findChild<QTableView*>("grdInfo");
    EXPECT_EQ(log->model()->headerData(2, Qt::Horizontal, Qt::AccessibleTextRole).toString(), "Channel");
    EXPECT_EQ(log->model()->headerData(3, Qt::Horizontal, Qt::AccessibleTextRole).toString(), "Frequency");
}

// The change events themselves reach a screen reader only where the
// platform has an accessibility bridge: the AT-SPI test follows them there.
TEST(AccessibilityEndToEnd, TheDisplayIsTextInWordsThatFollowAHit) {
    Monitored m;
    QWidget* display = m.form->findChild<QWidget*>("Picture2");
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(display);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(QAccessible::Name), "Scanner display");
    ASSERT_NE(panel->textInterface(), nullptr);
    const auto words = [&] { return panel->textInterface()->text(0, panel->textInterface()->characterCount()); };
    EXPECT_TRUE(words().startsWith("Scanning...")) << words().toStdString();
    RadioView hit = Reception("County Fire", "Fire Dispatch", "01544300");
    hit.icons1 = "110000000000100";
    hit.icons2 = "00000000000000010";
    m.radio->SetOverride(Receiving(hit));
    ASSERT_TRUE(WaitUntil([&] { return words().contains("Fire Dispatch"); }, 5000)) << words().toStdString();
    EXPECT_EQ(words(), "County Fire, Fire Dispatch, 154.4300, System 1, Priority, Function");
}

TEST(AccessibilityEndToEnd, SpeakHitsSaysEachNewHitsChannelOnceAndWithoutAServiceSaysSoOnce) {
    Monitored m;
    m.folder.Write("speech.txt", "speak=1\r\n");
    m.Restart();
    QStringList said;
    bool service = true;
    m.form->Speaker().SetVoice([&](const QString& phrase) {
        said << phrase;
        return service;
    });
    EXPECT_TRUE(m.form->findChild<QCheckBox*>("SpeakHitsCheck")->isChecked());
    m.Transmit(Reception("County Fire", "Fire Dispatch", "01544300"), 600);
    m.Transmit(Reception("County EMS", "EMS Tac 2", "01552050"), 600);
    EXPECT_EQ(said, (QStringList{"Fire Dispatch", "EMS Tac 2"}));
    // No speech service: nothing is said, and Text3 says so once.
    service = false;
    m.Transmit(Reception("County Fire", "Fire Dispatch", "01544300"), 600);
    EXPECT_EQ(Text3Of(*m.form), "No speech service: hits are not spoken");
    // Unticked: silent, and speech.txt says so for the next start.
    m.form->findChild<QCheckBox*>("SpeakHitsCheck")->setChecked(false);
    m.Transmit(Reception("County EMS", "EMS Tac 2", "01552050"), 600);
    EXPECT_EQ(said.size(), 3);
    EXPECT_EQ(m.folder.Read("speech.txt"), "speak=0\r\n");
}
