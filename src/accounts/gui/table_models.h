#pragma once
// Models of the balance and history tables of an account tab. Each holds the "~"-joined rows
// of its list table and shows them as the tab's columns describe.
#include <QAbstractTableModel>
#include <vector>

#include "accounts/account_client.h"
#include "store/text_list.h"

namespace pw {

class RowTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RowTableModel(std::vector<ColumnSpec> columns, QObject* parent = nullptr);

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
    virtual std::string Cell(const TextList& fields, int column) const = 0;
    virtual QVariant Decoration(const TextList& fields, int column, int role) const;

private:
    std::vector<ColumnSpec> columns_;
    TextList rows_;
    std::vector<TextList> fields_;
};

// Balance rows: the "Value" column as "%.2f", the others a space and the field.
class BalanceModel : public RowTableModel {
    Q_OBJECT
public:
    BalanceModel(const SystemTraits& traits, QObject* parent = nullptr);

protected:
    std::string Cell(const TextList& fields, int column) const override;

private:
    int valueColumn_;
};

// History rows: money columns as "%.2f", the amount cell bold, green on white above 0 and
// red on white otherwise.
class HistoryModel : public RowTableModel {
    Q_OBJECT
public:
    HistoryModel(const SystemTraits& traits, QObject* parent = nullptr);

protected:
    std::string Cell(const TextList& fields, int column) const override;
    QVariant Decoration(const TextList& fields, int column, int role) const override;

private:
    std::vector<int> moneyColumns_;
    int amountColumn_;
};

}  // namespace pw
