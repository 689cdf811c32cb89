#pragma once
// Models of the balance and history tables of an account tab. Each holds the "~"-joined rows
// of its list table and shows them as the tab's columns describe.
#include <QAbstractTableModel>
#include <vector>

#include "accounts/account_client.h"
#include "store/text_list.h"

namespace pw {

// A table of "~"-joined rows shown in the format of each column; coloured columns are green on
// white above 0 and red on white otherwise; bold columns are bold. A system with other cells derives and
// overrides Cell or Decoration.
class RowTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RowTableModel(std::vector<ColumnSpec> columns, QObject* parent = nullptr);

    void SetRows(const TextList& rows);
    const TextList& Rows() const { return rows_; }
    const std::vector<ColumnSpec>& Columns() const { return columns_; }
    // The stored row at index, or nullptr.
    const std::string* RowAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    // The shown text of a cell and its extra roles (font, colours); fields: the split row.
    virtual std::string Cell(const TextList& fields, int column) const;
    virtual QVariant Decoration(const TextList& fields, int column, int role) const;

private:
    std::vector<ColumnSpec> columns_;
    TextList rows_;
    std::vector<TextList> fields_;
};

}  // namespace pw
