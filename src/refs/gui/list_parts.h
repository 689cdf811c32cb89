#pragma once
// Parts shared by the list windows of saved accounts and reference lists: a table model that
// asks for each cell when it is drawn, the Add/Edit/Delete commands on the keys Ins, F4 and
// Del and on a context menu, and the rule that no typed value may hold the "~" separator.
#include <QAbstractTableModel>
#include <QObject>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "store/text_list.h"

class QAction;
class QLineEdit;
class QMenu;
class QTableView;

namespace pw {

inline QString QStr(const std::string& s) { return QString::fromStdString(s); }
inline std::string StdStr(const QString& s) { return s.toStdString(); }

class RowListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellText = std::function<std::string(const std::string& row, int column)>;
    RowListModel(const TextList& rows, QStringList titles, std::vector<Qt::Alignment> aligns,
                 CellText cell, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    // The rows changed: the count is read again and everything redrawn.
    void Refresh();

private:
    const TextList& rows_;
    QStringList titles_;
    std::vector<Qt::Alignment> aligns_;
    CellText cell_;
};

// A report list with full-row single selection that always shows it, and grid lines.
void SetUpReportList(QTableView* view, const QString& accessibleName);
int SelectedRow(const QTableView* view);
void SelectRow(QTableView* view, int row);

// Add, Edit and Delete of a list: keys Ins, F4 and Del while the list has the focus, and a
// context menu on a right-click, which first selects the row under the cursor. Add is
// always enabled; Edit and Delete need a selected row.
class ListCommands : public QObject {
    Q_OBJECT
public:
    ListCommands(QTableView* view, const QStringList& itemTexts, std::function<void()> add,
                 std::function<void()> edit, std::function<void()> remove);
    QMenu* Menu() const { return menu_; }
    QAction* AddAction() const { return add_; }
    QAction* EditAction() const { return edit_; }
    QAction* DeleteAction() const { return delete_; }
    // Selects the row at pos (viewport coordinates; none there: no selection), sets the item
    // states and pops the menu up there.
    void OpenMenuAt(const QPoint& pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateStates();

    QTableView* view_;
    QMenu* menu_;
    QAction* add_;
    QAction* edit_;
    QAction* delete_;
};

// No "~" and no control character can be typed into the edit.
void RefuseSeparator(QLineEdit* edit);

}  // namespace pw
