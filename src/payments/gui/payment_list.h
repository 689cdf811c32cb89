#pragma once
// The lists of payment records in the mass-payment and schedule windows: columns as data,
// a model that draws the rows in their tone (grey scheduled, red failed), and the column
// widths kept in a table file.
#include <QAbstractTableModel>
#include <vector>

#include "payments/payment_rows.h"
#include "store/table_file.h"

class QTableView;

namespace pw {

struct ListColumn {
    const char* title;
    int width;
    Qt::Alignment align;
};

class PaymentListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit PaymentListModel(std::vector<ListColumn> columns, QObject* parent = nullptr);

    void SetRows(std::vector<ListRow> rows);
    const std::vector<ListRow>& Rows() const { return rows_; }
    const std::vector<ListColumn>& Columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<ListColumn> columns_;
    std::vector<ListRow> rows_;
};

// The text colour of a tone: none (the normal text), the palette's grey text, or pure red.
QVariant ToneColor(RowTone tone);

// Sets the view up as a report list (full-row selection, grid lines) on model and applies the
// widths of the table file at path, or the columns' own widths when the file does not hold
// one per column (a damaged file is told in the event log). Returns the table to save the
// widths into later.
ListTable ApplyColumnWidths(QTableView* view, const std::string& path);
// Stores the view's current widths into the table's file.
void StoreColumnWidths(QTableView* view, ListTable& table);

// Keeps a window inside the free area of its screen.
void FitIntoScreen(QWidget& window);

}  // namespace pw
