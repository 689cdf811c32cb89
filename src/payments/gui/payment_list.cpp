#include "payments/gui/payment_list.h"

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QPalette>
#include <QScreen>
#include <QTableView>
#include <algorithm>

#include "app/purseward_app.h"
#include "settings/settings_store.h"
#include "ui/base/tr.h"

namespace pw {

PaymentListModel::PaymentListModel(std::vector<ListColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void PaymentListModel::SetRows(std::vector<ListRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int PaymentListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PaymentListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant PaymentListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const ListRow& row = rows_[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return column < row.cells.size() ? QString::fromStdString(row.cells[column])
                                             : QString();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(int(columns_[column].align | Qt::AlignVCenter));
        case Qt::ForegroundRole:
            return ToneColor(row.tone);
        default:
            return {};
    }
}

QVariant PaymentListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount())
        return Purseward::tr(columns_[static_cast<std::size_t>(section)].title);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant ToneColor(RowTone tone) {
    switch (tone) {
        case RowTone::Scheduled:
            return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        case RowTone::Failed:
            return QColor(255, 0, 0);
        case RowTone::Normal:
            break;
    }
    return {};
}

ListTable ApplyColumnWidths(QTableView* view, const std::string& path) {
    ListTable table;
    table.path = path;
    const auto* model = qobject_cast<const PaymentListModel*>(view->model());
    const std::vector<ListColumn> columns = model ? model->Columns() : std::vector<ListColumn>{};
    for (const ListColumn& c : columns) table.columnNames.push_back(c.title);
    if (const std::string refused = LoadColumnWidths(table); !refused.empty())
        if (const CPursewardApp* app = CPursewardApp::Instance()) app->WriteLog(refused);
    if (table.columnWidths.size() != columns.size()) {
        table.columnWidths.clear();
        for (const ListColumn& c : columns) table.columnWidths.push_back(std::to_string(c.width));
    }
    for (std::size_t i = 0; i < columns.size(); ++i)
        view->setColumnWidth(static_cast<int>(i),
                             std::clamp(ParseLeadingInt(table.columnWidths[i]), 0, 4000));
    return table;
}

void StoreColumnWidths(QTableView* view, ListTable& table) {
    SaveColumnWidths(table, [view](int i) { return view->columnWidth(i); });
}

void FitIntoScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    const QSize size = window.size().boundedTo(free.size());
    if (size != window.size()) window.resize(size);
    QRect frame = window.geometry();
    if (!free.contains(frame)) {
        frame.moveLeft(std::clamp(frame.left(), free.left(), free.right() - frame.width() + 1));
        frame.moveTop(std::clamp(frame.top(), free.top(), free.bottom() - frame.height() + 1));
        window.move(frame.topLeft());
    }
}

}  // namespace pw
