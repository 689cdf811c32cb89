#pragma once
// The reference list window CRef (payees or memos of one system) and its row editors
// CRefEdit1 to CRefEdit4. The file is read when the window opens and written on every way of
// closing it.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "refs/ref_lists.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace pw {

class ListCommands;
class ModalUi;
class RowListModel;

// The holder's-name query behind "Get Name": enabled only while the system's first tab holds
// balances (after a login); query takes the account and returns the name (empty on failure).
struct NameLookup {
    std::function<std::string(const std::string& account)> query;
    bool enabled = false;
};

// What the opener gives a CRef.
struct RefConfig {
    std::string caption;
    std::string fileName;
    TextList titles;
    TextList widths;
    bool manager = false;  // chooser by default
};
// The configuration of a list; a file name of no list gets it as caption and one column.
RefConfig RefConfigOf(const RefListSpec& list, bool manager);
RefConfig RefConfigForFile(const std::string& fileName, bool manager);

// Group of the window placement in the per-user profile.
inline constexpr const char kRefWindowPlacement[] = "PursewardRefWnd";

// A row editor (CRefEdit1 to CRefEdit4 by kind).
class CRefEdit : public QDialog {
    Q_OBJECT
public:
    CRefEdit(int kind, ModalUi& ui, NameLookup lookup, QWidget* parent = nullptr);
    // Caption "Add Record" or "Edit Record", and the fields in column order.
    void SetUp(bool adding, const TextList& fields);
    TextList Fields() const;
    QLineEdit* Field(int i) const { return fields_.at(static_cast<std::size_t>(i)); }
    QPushButton* GetNameButton() const { return getName_; }
    void GetName();

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const RefEditorSpec& spec_;
    ModalUi& ui_;
    NameLookup lookup_;
    std::vector<QLineEdit*> fields_;
    QPushButton* getName_ = nullptr;
};

class CRefEdit1 : public CRefEdit {
public:
    CRefEdit1(ModalUi& ui, NameLookup lookup, QWidget* parent = nullptr)
        : CRefEdit(1, ui, std::move(lookup), parent) {}
};
class CRefEdit2 : public CRefEdit {
public:
    explicit CRefEdit2(ModalUi& ui, QWidget* parent = nullptr) : CRefEdit(2, ui, {}, parent) {}
};
class CRefEdit3 : public CRefEdit {
public:
    explicit CRefEdit3(ModalUi& ui, QWidget* parent = nullptr) : CRefEdit(3, ui, {}, parent) {}
};
class CRefEdit4 : public CRefEdit {
public:
    CRefEdit4(ModalUi& ui, NameLookup lookup, QWidget* parent = nullptr)
        : CRefEdit(4, ui, std::move(lookup), parent) {}
};

class CRef : public QDialog {
    Q_OBJECT
public:
    // programDir: the list file is programDir + "Ref/" + the file name.
    CRef(RefConfig config, std::string programDir, ModalUi& ui, NameLookup lookup = {},
         QWidget* parent = nullptr);
    ~CRef() override;

    // Chooser: opens the list of fileName modally; the chosen row text ("~"-joined, as
    // stored) for OK with a selected row or a double-click, else empty. The program
    // directory and the message boxes are those of the running program.
    static std::string Choose(QWidget* parent, const std::string& fileName,
                              NameLookup lookup = {});
    static std::string Choose(QWidget* parent, const std::string& programDir,
                              const std::string& fileName, ModalUi& ui, NameLookup lookup = {});
    // Manager: the main menu's window on one of the eight lists.
    static void Manage(QWidget* parent, const RefListSpec& list, const std::string& programDir,
                       ModalUi& ui, NameLookup lookup = {});

    void Add();
    void Edit();
    void Delete();
    // Writes the rows and the window placement.
    void Save();

    const TextList& Rows() const { return rows_; }
    const std::string& ChosenRow() const { return chosen_; }
    const std::string& Path() const { return path_; }
    QTableView* List() const { return list_; }
    ListCommands* Commands() const { return commands_; }

    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Runs the row editor; true and the joined row on OK.
    bool RunEditor(bool adding, const std::string& row, std::string& out);
    void OnDoubleClick(int row);

    RefConfig config_;
    std::string path_;
    ModalUi& ui_;
    NameLookup lookup_;
    TextList rows_;
    std::string chosen_;
    bool writable_ = true;  // false when the file exists but could not be read whole
    bool placed_ = false;
    QTableView* list_ = nullptr;
    RowListModel* model_ = nullptr;
    ListCommands* commands_ = nullptr;
};

}  // namespace pw
