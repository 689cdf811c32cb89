// The saved account list and its editor.
#include "refs/gui/saved_account_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "accounts/gui/account_tab.h"
#include "app/purseward_app.h"
#include "refs/gui/list_parts.h"
#include "settings/settings_store.h"
#include "ui/base/modal_ui.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {

namespace {

Qt::Alignment ToQt(Align a) {
    switch (a) {
        case Align::Center: return Qt::AlignHCenter;
        case Align::Right: return Qt::AlignRight;
        default: return Qt::AlignLeft;
    }
}

void WipeEntry(SavedAccountEntry& entry) {
    for (std::string& t : entry.texts) WipeString(t);
}

}  // namespace

// ---- Editor ---------------------------------------------------------------------------------

CRefAccountEdit::CRefAccountEdit(const SavedAccountKind& kind, ModalUi& ui, QWidget* parent)
    : QDialog(parent), kind_(kind), ui_(ui) {
    setObjectName(QStringLiteral("savedAccountEdit"));
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < kind.editorLabels.size(); ++i) {
        auto* edit = new QLineEdit(this);
        const QString label = TrText(kind.editorLabels[i]);
        edit->setObjectName(QStringLiteral("edit%1").arg(i));
        edit->setAccessibleName(label.endsWith(QLatin1String(" :")) ? label.chopped(2) : label);
        if (kind.editorMasked[i]) edit->setEchoMode(QLineEdit::Password);
        RefuseSeparator(edit);
        form->addRow(label, edit);
        edits_.push_back(edit);
    }
    save_ = new QCheckBox(TrText(kind.saveCaption), this);
    save_->setObjectName(QStringLiteral("saveBox"));
    save_->setAccessibleName(TrText(kind.saveCaption));
    form->addRow(save_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(Purseward::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(Purseward::tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

CRefAccountEdit::~CRefAccountEdit() { WipeEntry(entry_); }

void CRefAccountEdit::SetUp(bool adding, const SavedAccountEntry& entry) {
    const QString caption = QStr(Str(adding ? 123 : 124));
    setWindowTitle(caption);
    setAccessibleName(caption);
    for (std::size_t i = 0; i < edits_.size(); ++i)
        edits_[i]->setText(i < entry.texts.size() ? QStr(entry.texts[i]) : QString());
    save_->setChecked(entry.save);
}

void CRefAccountEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edits_.front()->setFocus();
}

void CRefAccountEdit::accept() {
    SavedAccountEntry entry;
    for (QLineEdit* e : edits_) entry.texts.push_back(StdStr(e->text()));
    entry.save = save_->isChecked();
    int focus = 0;
    if (const int message = SavedEntryProblem(kind_, entry, focus); message != 0) {
        WipeEntry(entry);
        ui_.Message(Str(message));
        edits_.at(static_cast<std::size_t>(focus))->setFocus();
        return;
    }
    WipeEntry(entry_);
    entry_ = std::move(entry);
    QDialog::accept();
}

void CRefAccountEdit::done(int result) {
    // The secrets leave the widgets with the dialog; setText also drops the undo history.
    for (QLineEdit* e : edits_) e->setText(QString());
    QDialog::done(result);
}

// ---- List -----------------------------------------------------------------------------------

CRefAccountList::CRefAccountList(const SavedAccountKind& kind, TextList& rows,
                                 const SettingsStore& settings, const std::string& programDir,
                                 ModalUi& ui, QWidget* parent)
    : QDialog(parent), kind_(kind), rows_(rows), settings_(settings), ui_(ui) {
    setObjectName(QStringLiteral("savedAccountList"));
    setWindowTitle(TrText(kind.listCaption));
    setAccessibleName(TrText(kind.listCaption));

    QStringList titles;
    std::vector<Qt::Alignment> aligns;
    for (const ColumnSpec& c : kind.columns) {
        titles << TrText(c.name);
        aligns.push_back(ToQt(c.align));
        table_.columnNames.push_back(c.name);
    }
    list_ = new QTableView(this);
    SetUpReportList(list_, TrText(kind.listCaption));
    const SavedAccountKind* k = &kind_;
    model_ = new RowListModel(rows_, titles, aligns,
                              [k](const std::string& row, int column) {
                                  return SavedAccountCell(*k, row, column);
                              },
                              this);
    list_->setModel(model_);

    table_.path = programDir + "Set/" + kind.tableFile;
    if (const std::string refused = LoadColumnWidths(table_); !refused.empty())
        if (const CPursewardApp* app = CPursewardApp::Instance()) app->WriteLog(refused);
    for (std::size_t i = table_.columnWidths.size(); i < kind.columns.size(); ++i)
        table_.columnWidths.push_back(std::to_string(kind.columns[i].defaultWidth));
    table_.columnWidths.resize(kind.columns.size());
    for (std::size_t i = 0; i < kind.columns.size(); ++i)
        list_->setColumnWidth(static_cast<int>(i),
                              std::clamp(ParseLeadingInt(table_.columnWidths[i]), 0, 4000));

    commands_ = new ListCommands(
        list_, {Purseward::tr("Add\tIns"), Purseward::tr("Edit\tF4"), Purseward::tr("Delete\tDel")},
        [this] { AddSavedAccount(); }, [this] { EditSavedAccount(); },
        [this] { DeleteSavedAccount(); });
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        SelectRow(list_, index.row());
        chosen_ = index.row();
        QDialog::accept();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(Purseward::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(Purseward::tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(420, 260);
    list_->setFocus();
}

CRefAccountList::~CRefAccountList() = default;

bool CRefAccountList::RunEditor(bool adding, const std::string& row, std::string& out) {
    CRefAccountEdit editor(kind_, ui_, this);
    SavedAccountEntry entry = adding ? SavedAccountEntry{} : EntryFromSavedRow(kind_, row);
    editor.SetUp(adding, entry);
    WipeEntry(entry);
    if (editor.exec() != QDialog::Accepted) return false;
    out = SavedRowFromEntry(kind_, editor.Entry());
    return true;
}

void CRefAccountList::Commit(TextList candidate) {
    if (!SavedAccountsFit(kind_, candidate)) {
        ui_.Message(kSavedListFullMessage);
        return;
    }
    const int selected = SelectedRow(list_);
    rows_.swap(candidate);
    model_->Refresh();
    SelectRow(list_, std::min(selected, static_cast<int>(rows_.size()) - 1));
}

void CRefAccountList::AddSavedAccount() {
    std::string row;
    if (!RunEditor(true, std::string(), row)) return;
    TextList candidate = rows_;
    candidate.push_back(std::move(row));
    Commit(std::move(candidate));
}

void CRefAccountList::EditSavedAccount() {
    const int r = SelectedRow(list_);
    if (r < 0) return;
    std::string row;
    if (!RunEditor(false, rows_[static_cast<std::size_t>(r)], row)) return;
    TextList candidate = rows_;
    candidate[static_cast<std::size_t>(r)] = std::move(row);
    Commit(std::move(candidate));
}

void CRefAccountList::DeleteSavedAccount() {
    const int r = SelectedRow(list_);
    if (r < 0) return;
    TextList candidate = rows_;
    candidate.erase(candidate.begin() + r);
    Commit(std::move(candidate));
}

void CRefAccountList::SaveSavedAccounts() {
    SaveColumnWidths(table_, [this](int i) {
        return i < model_->columnCount() ? list_->columnWidth(i) : 0;
    });
    if (!WriteSavedAccounts(settings_, kind_, rows_)) ui_.Message(kSavedListNotWrittenMessage);
}

void CRefAccountList::accept() {
    chosen_ = SelectedRow(list_);
    QDialog::accept();
}

void CRefAccountList::done(int result) {
    if (result != QDialog::Accepted) chosen_ = -1;
    SaveSavedAccounts();
    QDialog::done(result);
}

void InstallSavedAccountList(CAccountTab& tab, CPursewardApp& app) {
    const int system = tab.Traits().systemIndex;
    if (!tab.Traits().full || !HasSavedAccountList(system)) return;
    tab.SetFeature(TabFeature::SavedAccounts, [&tab, &app, system] {
        TextList rows = tab.SavedAccounts();
        const int chosen = OpenSavedAccountList(&tab, system, rows, app);
        tab.SetSavedAccounts(rows);
        tab.FillFromSavedAccount(chosen);
    });
}

int OpenSavedAccountList(QWidget* parent, int systemIndex, TextList& rows, CPursewardApp& app) {
    if (!HasSavedAccountList(systemIndex)) return -1;
    CRefAccountList dialog(SavedAccountKindOf(systemIndex), rows, app.Settings(), app.ProgramDir(),
                           app.Ui(), parent);
    dialog.exec();
    return dialog.Chosen();
}

}  // namespace pw
