#pragma once
// Models of the balance and history tables of an account tab. Each holds the "~"-joined rows
// of its list table and shows them as the tab's columns describe.
#include <QAbstractTableModel>
#include <optional>
#include <string_view>
#include <vector>

class QTableView;

#include "accounts/account_client.h"
#include "store/row_list.h"
#include "store/text_list.h"

namespace pw {

// A table of "~"-joined rows shown in the format of each column; coloured columns are green on
// white above 0 and red on white otherwise; bold columns are bold. A system with other cells derives and
// overrides Cell or Decoration.
class RowTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RowTableModel(std::vector<ColumnSpec> columns, QObject* parent = nullptr);

    void SetRows(const RowList& rows);
    const RowList& Rows() const { return rows_; }
    const std::vector<ColumnSpec>& Columns() const { return columns_; }
    // The stored row at index, or nullptr.
    std::optional<std::string_view> RowAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    // The shown text of a cell and its extra roles (font, colours); row: the "~"-joined row.
    // The fields are found in the row when a cell is asked for, so rows of any number cost
    // no more than their bytes.
    virtual std::string Cell(std::string_view row, int column) const;
    virtual QVariant Decoration(std::string_view row, int column, int role) const;

private:
    std::vector<ColumnSpec> columns_;
    RowList rows_;
};

// Keeps the columns of a table readable. While no widths are set by hand (no table file, or
// one that holds the default widths) each column is as wide as its default, its header and its
// widest cell, fitted anew whenever the rows change; the table file then keeps the defaults,
// so that the next start fits again. Widths the table file gives, and a column the user
// resizes, are kept as they are. The last column fills the free space of a wider table; the
// width stored for it is its own, not the filled one.
class ColumnFitter : public QObject {
    Q_OBJECT
public:
    // No fitted column grows wider than this: a longer cell ends in "...".
    static constexpr int kMaxFittedWidth = 800;

    // view: its model is set; defaults: one per column; stored: the widths the table file
    // gave, read as numbers (any count; empty when there was none).
    ColumnFitter(QTableView* view, std::vector<int> defaults, const std::vector<int>& stored);
    // The fitter of a view, or nullptr.
    static ColumnFitter* Of(const QTableView* view);

    // True once the widths come from the table file or the user.
    bool UserSet() const { return userSet_; }
    // The width that the table file keeps for a column (0 beyond the columns).
    int WidthToStore(int column) const;
    // The width the view needs to show every column side by side, frame included.
    int ContentWidth() const;
    // Fits the columns to the rows (nothing changes once the widths are set by hand).
    void Fit();

signals:
    void Fitted();

private:
    void Apply();
    void OnSectionResized(int column, int newSize);

    QTableView* view_;
    std::vector<int> defaults_, widths_;
    bool userSet_ = false;
    bool applying_ = false;
};

// The height a table view needs to show rows rows below its header without scrolling.
int HeightForRows(const QTableView* view, int rows);

}  // namespace pw
