// The reference list window and its row editors.
#include "refs/gui/ref_dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/purseward_app.h"
#include "refs/gui/list_parts.h"
#include "settings/settings_store.h"
#include "ui/base/modal_ui.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"
#include "ui/window_placement.h"

namespace pw {

RefConfig RefConfigOf(const RefListSpec& list, bool manager) {
    return RefConfig{Str(list.captionId), list.file, list.titles, list.widths, manager};
}

RefConfig RefConfigForFile(const std::string& fileName, bool manager) {
    for (const RefListSpec& list : RefLists())
        if (list.file == fileName) return RefConfigOf(list, manager);
    return RefConfig{fileName, fileName, {"Memo"}, {"200"}, manager};
}

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(Purseward::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(Purseward::tr("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

// ---- Row editors ----------------------------------------------------------------------------

CRefEdit::CRefEdit(int kind, ModalUi& ui, NameLookup lookup, QWidget* parent)
    : QDialog(parent), spec_(RefEditorOf(kind)), ui_(ui), lookup_(std::move(lookup)) {
    setObjectName(QStringLiteral("refEdit%1").arg(spec_.kind));
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < spec_.labels.size(); ++i) {
        const QString label = TrText(spec_.labels[i]);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("field%1").arg(spec_.controls[i]));
        edit->setAccessibleName(label.endsWith(QLatin1String(" :")) ? label.chopped(2) : label);
        RefuseSeparator(edit);
        if (static_cast<int>(i) == spec_.nameField) {
            edit->setReadOnly(true);
            getName_ = new QPushButton(Purseward::tr("Get Name"), this);
            getName_->setObjectName(QStringLiteral("getName"));
            getName_->setAccessibleName(Purseward::tr("Get Name"));
            getName_->setAutoDefault(false);
            getName_->setEnabled(lookup_.enabled && static_cast<bool>(lookup_.query));
            connect(getName_, &QPushButton::clicked, this, &CRefEdit::GetName);
            auto* row = new QHBoxLayout;
            row->addWidget(edit);
            row->addWidget(getName_);
            form->addRow(label, row);
        } else {
            form->addRow(label, edit);
        }
        fields_.push_back(edit);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
    resize(380, sizeHint().height());
}

void CRefEdit::SetUp(bool adding, const TextList& fields) {
    const QString caption = QStr(Str(adding ? 123 : 124));
    setWindowTitle(caption);
    setAccessibleName(caption);
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(i < fields.size() ? QStr(fields[i]) : QString());
}

TextList CRefEdit::Fields() const {
    TextList out;
    for (const QLineEdit* e : fields_) out.push_back(StdStr(e->text()));
    return out;
}

void CRefEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fields_.front()->setFocus();
}

void CRefEdit::GetName() {
    if (spec_.nameField < 0 || !lookup_.query) return;
    const std::string account = StdStr(fields_.front()->text());
    if (account.empty()) return;
    std::string name = lookup_.query(account);
    // The name becomes a field of a "~"-joined row.
    std::replace(name.begin(), name.end(), '~', ' ');
    fields_.at(static_cast<std::size_t>(spec_.nameField))->setText(QStr(name));
}

void CRefEdit::accept() {
    if (spec_.accountRequired && fields_.front()->text().isEmpty()) {
        ui_.Message(Str(137));
        fields_.front()->setFocus();
        return;
    }
    QDialog::accept();
}

// ---- The list window ------------------------------------------------------------------------

CRef::CRef(RefConfig config, std::string programDir, ModalUi& ui, NameLookup lookup,
           QWidget* parent)
    : QDialog(parent),
      config_(std::move(config)),
      path_(RefListPath(programDir, config_.fileName)),
      ui_(ui),
      lookup_(std::move(lookup)) {
    setObjectName(QStringLiteral("refList"));
    setWindowTitle(QStr(config_.caption));
    setAccessibleName(QStr(config_.caption));
    setWindowIcon(QApplication::windowIcon());
    setSizeGripEnabled(true);

    QStringList titles;
    for (const std::string& t : config_.titles) titles << TrText(t);
    list_ = new QTableView(this);
    SetUpReportList(list_, QStr(config_.caption));
    model_ = new RowListModel(rows_, titles, {}, &RefCellText, this);
    list_->setModel(model_);
    for (std::size_t i = 0; i < config_.titles.size(); ++i)
        list_->setColumnWidth(static_cast<int>(i),
                              std::clamp(i < config_.widths.size()
                                             ? ParseLeadingInt(config_.widths[i])
                                             : 100,
                                         0, 4000));
    commands_ = new ListCommands(
        list_, {Purseward::tr("Add"), Purseward::tr("Edit"), Purseward::tr("Delete")},
        [this] { Add(); }, [this] { Edit(); }, [this] { Delete(); });
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) OnDoubleClick(index.row());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(OkCancel(this));
    resize(420, 300);
    list_->setFocus();

    if (ReadRefList(path_, rows_) == RefLoad::Unreadable) {
        writable_ = false;
        ui_.Message(RefUnreadableMessage(path_, TrText(kRefUnreadablePattern).toStdString()));
    }
    model_->Refresh();
}

CRef::~CRef() = default;

std::string CRef::Choose(QWidget* parent, const std::string& fileName, NameLookup lookup) {
    CPursewardApp* app = CPursewardApp::Instance();
    if (app == nullptr) return std::string();
    return Choose(parent, app->ProgramDir(), fileName, app->Ui(), std::move(lookup));
}

std::string CRef::Choose(QWidget* parent, const std::string& programDir,
                         const std::string& fileName, ModalUi& ui, NameLookup lookup) {
    CRef dialog(RefConfigForFile(fileName, false), programDir, ui, std::move(lookup), parent);
    return dialog.exec() == QDialog::Accepted ? dialog.ChosenRow() : std::string();
}

void CRef::Manage(QWidget* parent, const RefListSpec& list, const std::string& programDir,
                  ModalUi& ui, NameLookup lookup) {
    CRef dialog(RefConfigOf(list, true), programDir, ui, std::move(lookup), parent);
    dialog.exec();
}

void CRef::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        RestoreWindowPlacement(*this, QString::fromLatin1(kRefWindowPlacement));
    }
}

bool CRef::RunEditor(bool adding, const std::string& row, std::string& out) {
    const int kind = RefEditorFor(config_.fileName);
    if (kind == 0) return false;
    CRefEdit editor(kind, ui_, lookup_, this);
    const TextList fields = Split(row, "~");
    editor.SetUp(adding, adding ? TextList{} : fields);
    if (editor.exec() != QDialog::Accepted) return false;
    TextList joined = editor.Fields();
    // Fields beyond the editor's (a hand-edited file) stay as they were.
    for (std::size_t i = joined.size(); !adding && i < fields.size(); ++i)
        joined.push_back(fields[i]);
    out = JoinList(joined, "~");
    return true;
}

void CRef::Add() {
    std::string row;
    if (!RunEditor(true, std::string(), row)) return;
    rows_.push_back(row);
    model_->Refresh();
    SelectRow(list_, static_cast<int>(rows_.size()) - 1);
}

void CRef::Edit() {
    const int r = SelectedRow(list_);
    if (r < 0) return;
    std::string row;
    if (!RunEditor(false, rows_[static_cast<std::size_t>(r)], row)) return;
    rows_[static_cast<std::size_t>(r)] = row;
    model_->Refresh();
    SelectRow(list_, r);
}

void CRef::Delete() {
    const int r = SelectedRow(list_);
    if (r < 0) return;
    rows_.erase(rows_.begin() + r);
    model_->Refresh();
    SelectRow(list_, std::min(r, static_cast<int>(rows_.size()) - 1));
}

void CRef::OnDoubleClick(int row) {
    SelectRow(list_, row);
    if (config_.manager) {
        Edit();
        return;
    }
    chosen_ = rows_[static_cast<std::size_t>(row)];
    QDialog::accept();
}

void CRef::accept() {
    const int r = SelectedRow(list_);
    chosen_ = r >= 0 ? rows_[static_cast<std::size_t>(r)] : std::string();
    QDialog::accept();
}

void CRef::Save() {
    if (writable_ && !WriteRefList(path_, rows_))
        ui_.Message(RefNotWrittenMessage(path_, TrText(kRefNotWrittenPattern).toStdString()));
    SaveWindowPlacement(*this, QString::fromLatin1(kRefWindowPlacement));
}

void CRef::done(int result) {
    if (result != QDialog::Accepted) chosen_.clear();
    Save();
    QDialog::done(result);
}

}  // namespace pw
