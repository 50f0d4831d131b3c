#include "memory/qt/FrozenNames.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

namespace quorvane {

FrozenNames::FrozenNames(QTreeView& tree) : QTreeView(&tree), tree_(tree) {
    setObjectName("memory_names");
    setAccessibleName("Names, kept in view");
    setModel(tree.model());
    setSelectionModel(tree.selectionModel());
    setItemDelegate(tree.itemDelegate());
    setEditTriggers(tree.editTriggers());
    setUniformRowHeights(true);
    setAlternatingRowColors(tree.alternatingRowColors());
    setIndentation(tree.indentation());
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setSectionsMovable(false);
    for (int column = 1; column < model()->columnCount(); ++column) setColumnHidden(column, true);

    // The same rows in view, the same branches open.
    connect(tree.verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, tree.verticalScrollBar(), &QScrollBar::setValue);
    connect(&tree, &QTreeView::expanded, this, [this](const QModelIndex& index) { setExpanded(index, true); });
    connect(&tree, &QTreeView::collapsed, this, [this](const QModelIndex& index) { setExpanded(index, false); });
    connect(this, &QTreeView::expanded, &tree, [this](const QModelIndex& index) { tree_.setExpanded(index, true); });
    connect(this, &QTreeView::collapsed, &tree, [this](const QModelIndex& index) { tree_.setExpanded(index, false); });
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] {
        // Rows shown again open as the tree has them.
        QModelIndexList open{QModelIndex()};
        while (!open.isEmpty()) {
            const QModelIndex parent = open.takeLast();
            for (int row = 0; row < model()->rowCount(parent); ++row) {
                const QModelIndex child = model()->index(row, 0, parent);
                if (tree_.isExpanded(child) != isExpanded(child)) setExpanded(child, tree_.isExpanded(child));
                if (model()->hasChildren(child)) open << child;
            }
        }
    });
    connect(tree.header(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column == 0) {
            setColumnWidth(0, width);
            Place();
        }
    });
    // Shown only while the tree is scrolled to the right, where its own
    // names are out of view.
    connect(tree.horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        setVisible(value > 0);
        Place();
    });
    viewport_ = tree.viewport();
    viewport_->installEventFilter(this);
    setColumnWidth(0, tree.columnWidth(0));
    hide();
    Place();
}

bool FrozenNames::eventFilter(QObject* watched, QEvent* event) {
    // Only the pointer is compared: the viewport also has events while the
    // tree around it is being taken down.
    if (event->type() == QEvent::Resize && watched == viewport_) Place();
    return QTreeView::eventFilter(watched, event);
}

void FrozenNames::Place() {
    const int frame = tree_.frameWidth();
    setGeometry(frame, frame, tree_.columnWidth(0), tree_.viewport()->height() + tree_.header()->height());
    verticalScrollBar()->setValue(tree_.verticalScrollBar()->value());
}

}  // namespace quorvane
