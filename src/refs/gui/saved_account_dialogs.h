#pragma once
// The saved account list of a payment system and its editor. The list works on the tab's
// rows; every way of closing it saves the column widths and the stored columns.
#include <QDialog>
#include <string>
#include <vector>

#include "refs/saved_accounts.h"
#include "store/table_file.h"

class QCheckBox;
class QLineEdit;
class QTableView;

namespace pw {

class CPursewardApp;
class ListCommands;
class ModalUi;
class RowListModel;
class SettingsStore;

// The editor of one saved account (Liberty Reserve: resource 148).
class CRefAccountEdit : public QDialog {
    Q_OBJECT
public:
    CRefAccountEdit(const SavedAccountKind& kind, ModalUi& ui, QWidget* parent = nullptr);
    ~CRefAccountEdit() override;
    // Caption "Add Record" or "Edit Record", and the values shown.
    void SetUp(bool adding, const SavedAccountEntry& entry);
    // What OK took; empty texts before.
    const SavedAccountEntry& Entry() const { return entry_; }
    QLineEdit* Edit(int i) const { return edits_.at(static_cast<std::size_t>(i)); }
    QCheckBox* SaveBox() const { return save_; }

    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const SavedAccountKind& kind_;
    ModalUi& ui_;
    std::vector<QLineEdit*> edits_;
    QCheckBox* save_ = nullptr;
    SavedAccountEntry entry_;
};

// The saved account list (Liberty Reserve: resource 147, "LR Accounts").
class CRefAccountList : public QDialog {
    Q_OBJECT
public:
    // rows: the tab's saved accounts, changed in place. programDir: the table file lies below
    // its Set/.
    CRefAccountList(const SavedAccountKind& kind, TextList& rows, const SettingsStore& settings,
                    const std::string& programDir, ModalUi& ui, QWidget* parent = nullptr);
    ~CRefAccountList() override;

    // After the dialog closed: the chosen row for OK or a double-click, else -1.
    int Chosen() const { return chosen_; }

    void AddSavedAccount();
    void EditSavedAccount();
    void DeleteSavedAccount();
    // Column widths to the table file, the rows to the stored columns.
    void SaveSavedAccounts();

    QTableView* List() const { return list_; }
    ListCommands* Commands() const { return commands_; }

    void accept() override;
    void done(int result) override;

private:
    // Runs the editor; true and the row when OK was pressed.
    bool RunEditor(bool adding, const std::string& row, std::string& out);
    // Takes the candidate rows when they can be stored; otherwise says the list is full.
    void Commit(TextList candidate);

    const SavedAccountKind& kind_;
    TextList& rows_;
    const SettingsStore& settings_;
    ModalUi& ui_;
    ListTable table_;
    QTableView* list_ = nullptr;
    RowListModel* model_ = nullptr;
    ListCommands* commands_ = nullptr;
    int chosen_ = -1;
};

// The classes of the four systems.
class CLR_RefAccountEdit : public CRefAccountEdit {
public:
    explicit CLR_RefAccountEdit(ModalUi& ui, QWidget* parent = nullptr)
        : CRefAccountEdit(SavedAccountKindOf(0), ui, parent) {}
};
class CPM_RefAccountEdit : public CRefAccountEdit {
public:
    explicit CPM_RefAccountEdit(ModalUi& ui, QWidget* parent = nullptr)
        : CRefAccountEdit(SavedAccountKindOf(1), ui, parent) {}
};
class CVM_RefAccountEdit : public CRefAccountEdit {
public:
    explicit CVM_RefAccountEdit(ModalUi& ui, QWidget* parent = nullptr)
        : CRefAccountEdit(SavedAccountKindOf(2), ui, parent) {}
};
class CEG_RefAccountEdit : public CRefAccountEdit {
public:
    explicit CEG_RefAccountEdit(ModalUi& ui, QWidget* parent = nullptr)
        : CRefAccountEdit(SavedAccountKindOf(3), ui, parent) {}
};

#define PW_SAVED_ACCOUNT_LIST(Name, index)                                                  \
    class Name : public CRefAccountList {                                                   \
    public:                                                                                 \
        Name(TextList& rows, const SettingsStore& settings, const std::string& programDir, \
             ModalUi& ui, QWidget* parent = nullptr)                                        \
            : CRefAccountList(SavedAccountKindOf(index), rows, settings, programDir, ui,    \
                              parent) {}                                                    \
    };
PW_SAVED_ACCOUNT_LIST(CLR_RefAccount, 0)
PW_SAVED_ACCOUNT_LIST(CPM_RefAccount, 1)
PW_SAVED_ACCOUNT_LIST(CVM_RefAccount, 2)
PW_SAVED_ACCOUNT_LIST(CEG_RefAccount, 3)
#undef PW_SAVED_ACCOUNT_LIST

// Opens the saved account list of a system (0..3) on the tab's rows, modally. Returns the
// chosen row, or -1; the rows are saved whatever way the list closes.
int OpenSavedAccountList(QWidget* parent, int systemIndex, TextList& rows, CPursewardApp& app);

class CAccountTab;
// Gives a full tab of LR, PM, VM or EG its saved account list (the button next to the login
// fields): the list opens on the tab's rows, and a chosen row fills the login fields by its
// save flag. Other tabs are left as they are.
void InstallSavedAccountList(CAccountTab& tab, CPursewardApp& app);

}  // namespace pw
