#include "accounts/gui/table_models.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include "accounts/tab_logic.h"

namespace pw {

namespace {
Qt::Alignment ToQt(Align a) {
    switch (a) {
        case Align::Left: return Qt::AlignLeft | Qt::AlignVCenter;
        case Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
        case Align::Center: break;
    }
    return Qt::AlignCenter;
}
}  // namespace

RowTableModel::RowTableModel(std::vector<ColumnSpec> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void RowTableModel::SetRows(const TextList& rows) {
    beginResetModel();
    rows_ = rows;
    fields_.clear();
    for (const std::string& r : rows_) fields_.push_back(Split(r, "~"));
    endResetModel();
}

const std::string* RowTableModel::RowAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return nullptr;
    return &rows_[static_cast<std::size_t>(row)];
}

int RowTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RowTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RowTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const TextList& f = fields_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(Cell(f, index.column()));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                ToQt(columns_[static_cast<std::size_t>(index.column())].align));
        default:
            return Decoration(f, index.column(), role);
    }
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(columns_[static_cast<std::size_t>(section)].name);
    return {};
}

std::string RowTableModel::Cell(const TextList& fields, int column) const {
    return CellText(fields, column, columns_[static_cast<std::size_t>(column)].format);
}

QVariant RowTableModel::Decoration(const TextList& fields, int column, int role) const {
    const ColumnSpec& col = columns_[static_cast<std::size_t>(column)];
    if (role == Qt::FontRole && col.bold) {
        QFont font;
        font.setBold(true);
        return font;
    }
    if (!col.colored) return {};
    const std::string value = static_cast<std::size_t>(column) < fields.size()
                                  ? fields[static_cast<std::size_t>(column)]
                                  : std::string();
    switch (role) {
        case Qt::ForegroundRole:
            return QBrush(IsIncome(value) ? QColor(0, 180, 0) : QColor(255, 0, 0));
        case Qt::BackgroundRole:
            return QBrush(QColor(255, 255, 255));
        default:
            return {};
    }
}

}  // namespace pw
