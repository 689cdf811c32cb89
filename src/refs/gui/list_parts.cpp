#include "refs/gui/list_parts.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QValidator>

#include "ui/base/tr.h"

namespace pw {

RowListModel::RowListModel(const TextList& rows, QStringList titles,
                           std::vector<Qt::Alignment> aligns, CellText cell, QObject* parent)
    : QAbstractTableModel(parent),
      rows_(rows),
      titles_(std::move(titles)),
      aligns_(std::move(aligns)),
      cell_(std::move(cell)) {}

int RowListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RowListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant RowListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QStr(cell_(rows_[static_cast<std::size_t>(index.row())], index.column()));
    if (role == Qt::TextAlignmentRole) {
        const auto c = static_cast<std::size_t>(index.column());
        const Qt::Alignment a = c < aligns_.size() ? aligns_[c] : Qt::AlignLeft;
        return QVariant::fromValue(int(a | Qt::AlignVCenter));
    }
    return {};
}

QVariant RowListModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < titles_.size())
        return titles_[section];
    return QAbstractTableModel::headerData(section, o, role);
}

void RowListModel::Refresh() {
    beginResetModel();
    endResetModel();
}

void SetUpReportList(QTableView* view, const QString& accessibleName) {
    view->setObjectName(QStringLiteral("list"));
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setHighlightSections(false);
    view->setTabKeyNavigation(false);
}

int SelectedRow(const QTableView* view) {
    if (view->selectionModel() == nullptr) return -1;
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SelectRow(QTableView* view, int row) {
    if (row < 0 || view->model() == nullptr || row >= view->model()->rowCount()) {
        view->clearSelection();
        view->setCurrentIndex(QModelIndex());
        return;
    }
    view->selectRow(row);
}

ListCommands::ListCommands(QTableView* view, const QStringList& itemTexts,
                           std::function<void()> add, std::function<void()> edit,
                           std::function<void()> remove)
    : QObject(view), view_(view), menu_(new QMenu(view)) {
    menu_->setAccessibleName(Purseward::tr("List menu"));
    add_ = menu_->addAction(itemTexts.value(0));
    edit_ = menu_->addAction(itemTexts.value(1));
    delete_ = menu_->addAction(itemTexts.value(2));
    add_->setObjectName(QStringLiteral("actAdd"));
    edit_->setObjectName(QStringLiteral("actEdit"));
    delete_->setObjectName(QStringLiteral("actDelete"));
    connect(add_, &QAction::triggered, this, [add] { add(); });
    connect(edit_, &QAction::triggered, this, [edit] { edit(); });
    connect(delete_, &QAction::triggered, this, [remove] { remove(); });
    connect(view, &QTableView::customContextMenuRequested, this, &ListCommands::OpenMenuAt);
    view->installEventFilter(this);
}

void ListCommands::UpdateStates() {
    const bool selected = SelectedRow(view_) >= 0;
    edit_->setEnabled(selected);
    delete_->setEnabled(selected);
}

void ListCommands::OpenMenuAt(const QPoint& pos) {
    SelectRow(view_, view_->indexAt(pos).row());
    UpdateStates();
    menu_->popup(view_->viewport()->mapToGlobal(pos));
}

bool ListCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        UpdateStates();
        switch (key->key()) {
            case Qt::Key_Insert: add_->trigger(); return true;
            case Qt::Key_F4: if (edit_->isEnabled()) edit_->trigger(); return true;
            case Qt::Key_Delete: if (delete_->isEnabled()) delete_->trigger(); return true;
            default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

namespace {
class NoSeparator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar c : input)
            if (c == QLatin1Char('~') || c.unicode() < 0x20 || c.unicode() == 0x7f) return Invalid;
        return Acceptable;
    }
};
}  // namespace

void RefuseSeparator(QLineEdit* edit) { edit->setValidator(new NoSeparator(edit)); }

}  // namespace pw
