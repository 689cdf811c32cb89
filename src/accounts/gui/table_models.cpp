#include "accounts/gui/table_models.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

#include "accounts/tab_logic.h"
#include "ui/base/tr.h"

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

void RowTableModel::SetRows(const RowList& rows) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

std::optional<std::string_view> RowTableModel::RowAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return std::nullopt;
    return rows_[static_cast<std::size_t>(row)];
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
    const std::string_view f = rows_[static_cast<std::size_t>(index.row())];
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
    if (role == Qt::DisplayRole) return TrText(columns_[static_cast<std::size_t>(section)].name);
    return {};
}

std::string RowTableModel::Cell(std::string_view row, int column) const {
    return CellText(NthField(row, static_cast<std::size_t>(column)), columns_[static_cast<std::size_t>(column)].format);
}

QVariant RowTableModel::Decoration(std::string_view row, int column, int role) const {
    const ColumnSpec& col = columns_[static_cast<std::size_t>(column)];
    if (role == Qt::FontRole && col.bold) {
        QFont font;
        font.setBold(true);
        return font;
    }
    if (!col.colored) return {};
    const std::string value(NthField(row, static_cast<std::size_t>(column)).value_or(std::string_view()));
    switch (role) {
        case Qt::ForegroundRole:
            return QBrush(IsIncome(value) ? QColor(0, 180, 0) : QColor(255, 0, 0));
        case Qt::BackgroundRole:
            return QBrush(QColor(255, 255, 255));
        default:
            return {};
    }
}

ColumnFitter::ColumnFitter(QTableView* view, std::vector<int> defaults,
                           const std::vector<int>& stored)
    : QObject(view), view_(view), defaults_(std::move(defaults)), widths_(defaults_) {
    setObjectName(QStringLiteral("columnFitter"));
    // A table file that holds exactly the defaults was written while the columns followed
    // their content: they follow it again.
    for (std::size_t i = 0; i < stored.size() && i < widths_.size(); ++i) {
        widths_[i] = stored[i];
        if (stored[i] != defaults_[i]) userSet_ = true;
    }
    QHeaderView* header = view_->horizontalHeader();
    header->setStretchLastSection(true);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { OnSectionResized(column, newSize); });
    if (QAbstractItemModel* model = view_->model())
        connect(model, &QAbstractItemModel::modelReset, this, &ColumnFitter::Fit);
    Fit();
}

ColumnFitter* ColumnFitter::Of(const QTableView* view) {
    return view->findChild<ColumnFitter*>(QStringLiteral("columnFitter"),
                                          Qt::FindDirectChildrenOnly);
}

int ColumnFitter::WidthToStore(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= widths_.size()) return 0;
    const auto i = static_cast<std::size_t>(column);
    return userSet_ ? widths_[i] : defaults_[i];
}

int ColumnFitter::ContentWidth() const {
    int sum = 2 * view_->frameWidth();
    for (const int w : widths_) sum += w;
    return sum;
}

void ColumnFitter::Fit() {
    if (!userSet_) {
        const QHeaderView* header = view_->horizontalHeader();
        // The table view's own measure of a column is protected; the base class offers it.
        const QAbstractItemView* view = view_;
        for (std::size_t i = 0; i < widths_.size(); ++i) {
            const int column = static_cast<int>(i);
            const int content =
                std::max(view->sizeHintForColumn(column), header->sectionSizeHint(column));
            widths_[i] = std::max(defaults_[i], std::min(content, kMaxFittedWidth));
        }
    }
    Apply();
}

void ColumnFitter::Apply() {
    applying_ = true;
    QHeaderView* header = view_->horizontalHeader();
    for (std::size_t i = 0; i < widths_.size(); ++i)
        header->resizeSection(static_cast<int>(i), widths_[i]);
    applying_ = false;
    emit Fitted();
}

void ColumnFitter::OnSectionResized(int column, int newSize) {
    // The last column follows the free space of the table; that is nobody's choice.
    if (applying_ || column < 0 || static_cast<std::size_t>(column) + 1 >= widths_.size())
        return;
    widths_[static_cast<std::size_t>(column)] = newSize;
    userSet_ = true;
}

int HeightForRows(const QTableView* view, int rows) {
    const QHeaderView* header = view->horizontalHeader();
    const int headerHeight = header->isHidden() ? 0 : header->sizeHint().height();
    return 2 * view->frameWidth() + headerHeight +
           rows * view->verticalHeader()->defaultSectionSize();
}

}  // namespace pw
