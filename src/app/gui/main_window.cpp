#include "app/gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>
#include <ctime>

#include "accounts/gui/account_tab.h"
#include "accounts/gui/account_tab_api.h"
#include "app/gui/about_dialog.h"
#include "app/gui/notify.h"
#include "app/gui/program_dir.h"
#include "app/gui/request_wait.h"
#include "app/gui/tab_badges.h"
#include "app/purseward_app.h"
#include "info/gui/banner_service.h"
#include "info/gui/banner_view.h"
#include "net/failure_text.h"
#include "payments/gui/mass_payment_feature.h"
#include "payments/gui/payment_feature.h"
#include "payments/gui/schedule_view.h"
#include "refs/gui/ref_dialogs.h"
#include "refs/gui/saved_account_dialogs.h"
#include "settings/gui/setting_dialog.h"
#include "settings/keys.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"
#include "ui/base/widget_text.h"
#include "ui/window_placement.h"

namespace pw {
namespace {

constexpr int kClockPeriodMs = 60000;
constexpr int kBalloonMs = 30000;
// The first tab of each system saves its state in this order when the program closes.
constexpr std::array<int, 6> kSaveOrder{0, 1, 3, 2, 4, 5};

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string Format(const std::tm& tm, const char* format) {
    char buf[64];
    const std::size_t n = std::strftime(buf, sizeof buf, format, &tm);
    return std::string(buf, n);
}

QLineEdit* StatusField(const QString& accessibleName, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(accessibleName);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setAccessibleName(accessibleName);
    // Reachable with Tab for screen readers, but a click does not take the focus away.
    field->setFocusPolicy(Qt::TabFocus);
    return field;
}

}  // namespace

CPursewardDlg::CPursewardDlg(CPursewardApp& app, MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), app_(app), options_(std::move(options)) {
    if (!options_.trayAvailable) options_.trayAvailable = [] {
        return QSystemTrayIcon::isSystemTrayAvailable();
    };
    if (!options_.makeTransport) {
        options_.makeTransport = [&app](TrafficCounter& counter, TransportHooks hooks) {
            return std::make_unique<CurlTransport>(app.Settings(), counter, std::move(hooks));
        };
    }
    if (!options_.playSound) {
        sound_ = std::make_unique<SoundPlayer>();
        options_.playSound = [this](const QString& path) { sound_->Play(path); };
    }
    if (!options_.showBalloon) {
        options_.showBalloon = [this](const QString& title, const QString& text) {
            if (tray_) tray_->showMessage(title, text, QSystemTrayIcon::Information, kBalloonMs);
        };
    }
    if (!options_.createTab) options_.createTab = CreateAccountTab;
    if (!options_.openUrl) options_.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    setWindowTitle(QStringLiteral("Purseward"));
    setAccessibleName(QStringLiteral("Purseward"));
    icon_ = ProgramIcon();
    setWindowIcon(icon_);

    BuildMenus();
    BuildTray();

    // The program directory: through the file ExecutableModule names.
    programDir_ = DetermineProgramDir(app_);
    if (!programDir_.empty()) app_.Pw().SetProgramDir(programDir_);

    // Status line.
    clockField_ = StatusField(Q(Str(141)), this);
    ipField_ = StatusField(Purseward::tr("Current IP"), this);
    trafficField_ = StatusField(Purseward::tr("Send/Received (KB)"), this);
    clockText_ = Str(141) + " : " + Format(app_.GetClock().UtcNow(), "%Y-%m-%d %H:%M");
    ipText_ = Str(107) + " ---.---.---.---";
    clockField_->setText(Q(clockText_));
    ipField_->setText(Q(ipText_));
    trafficField_->setText(Q(TrafficText(traffic_)));

    // The banner strip is placed here once it is built.
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    bannerArea_ = new QWidget(central);
    bannerArea_->setObjectName(QStringLiteral("bannerArea"));
    bannerArea_->hide();
    bannerView_ = new CBannerView(options_.openUrl, bannerArea_);
    (new QVBoxLayout(bannerArea_))->addWidget(bannerView_);
    bannerArea_->layout()->setContentsMargins(0, 0, 0, 0);

    tabs_ = new QTabWidget(central);
    tabs_->setAccessibleName(Purseward::tr("Accounts"));
    tabs_->tabBar()->setAccessibleName(Purseward::tr("Payment systems"));
    tabs_->setIconSize(kTabBadgeSize);
    tabs_->setUsesScrollButtons(true);
    // "TabMenu" belongs to the current tab's header (ContextMenu events of the tab bar).
    tabs_->tabBar()->installEventFilter(this);

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(bannerArea_);
    layout->addWidget(tabs_, 1);
    setMenuBar(menuBar_);
    setCentralWidget(central);
    statusBar()->setSizeGripEnabled(true);
    for (QLineEdit* field : {clockField_, ipField_, trafficField_}) {
        // Wide enough to read the text it starts with.
        QStyleOptionFrame option;
        option.initFrom(field);
        option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
        const QSize text(field->fontMetrics().horizontalAdvance(field->text()) + 8,
                         field->fontMetrics().height());
        field->setMinimumWidth(
            field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, field).width());
        statusBar()->addWidget(field, 1);
    }
    // The failures of background requests, shown only while there are any.
    failureField_ = StatusField(Purseward::tr("Background requests"), this);
    failureField_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    failureField_->hide();
    statusBar()->addWidget(failureField_, 2);
    progress_ = new RequestProgress(this);
    statusBar()->addWidget(progress_);
    waiter_ = new RequestWaiter(*this, *progress_);
    // The tray menu can be triggered without input to our windows: it waits as well.
    connect(waiter_, &RequestWaiter::WaitStarted, iconMenu_, [this] {
        iconMenu_->setEnabled(false);
    });
    connect(waiter_, &RequestWaiter::WaitEnded, iconMenu_, [this] { iconMenu_->setEnabled(true); });

    // The transport and its ties to this window.
    TransportHooks hooks;
    hooks.showMessage = [this](const std::string& text) {
        OnGuiThread([this, text] { app_.Ui().Message(text); });
    };
    hooks.isHidden = [this] { return hiddenInTray_.load(); };
    hooks.notifyUser = [this](const std::string& text) { NotifyUser(text); };
    hooks.trafficChanged = [this](const std::string& text) {
        OnGuiThread([this, text] { trafficField_->setText(Q(text)); });
    };
    transport_ = options_.makeTransport(traffic_, std::move(hooks));
    banner_ = std::make_unique<BannerService>(
        app_, *this, programDir_.empty() ? app_.BaseDir() : programDir_, bannerView_);
    connect(banner_.get(), &BannerService::StripShown, bannerArea_, &QWidget::show);

    // One tab per enabled system, in index order; only those get a tab object.
    for (int i = 0; i < 6; ++i) {
        if (app_.enable[i] == 0) continue;
        AddSystemTab(i);
        firstTabs_[i] = qobject_cast<AccountTabWidget*>(tabs_->widget(tabs_->count() - 1));
    }
    fixedTabCount_ = tabs_->count();

    resize(ReadableSize());
    RestoreWindowPlacement(*this, QString::fromLatin1(kMainWindowPlacement));
    // A stored placement smaller than what can be read grows to it.
    if (!isMaximized()) resize(size().expandedTo(ReadableSize()));

    clockTimer_ = app_.GetClock().CreateTimer([this] { RefreshClock(); });
}

CPursewardDlg::~CPursewardDlg() {
    banner_.reset();
    clockTimer_.reset();
    if (tray_) tray_->hide();
}

void CPursewardDlg::BuildMenus() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setAccessibleName(Purseward::tr("Main menu"));

    auto* schedule = new QAction(Purseward::tr("&Show Shedule Payment"), this);
    schedule->setObjectName(QStringLiteral("actSchedule"));
    connect(schedule, &QAction::triggered, this, &CPursewardDlg::ScheduleRequested);
    auto* about = new QAction(Purseward::tr("&About..."), this);
    about->setObjectName(QStringLiteral("actAbout"));
    connect(about, &QAction::triggered, this, &CPursewardDlg::OpenAbout);
    auto* exitAction = new QAction(Purseward::tr("E&xit"), this);
    exitAction->setObjectName(QStringLiteral("actExit"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    programMenu_ = menuBar_->addMenu(Purseward::tr("&Program"));
    auto* hide = programMenu_->addAction(Purseward::tr("&Hide Program"));
    hide->setObjectName(QStringLiteral("actHide"));
    connect(hide, &QAction::triggered, this, &CPursewardDlg::ToggleShown);
    // Without a tray the window could not be brought back: the item says so.
    if (!options_.trayAvailable()) {
        hide->setEnabled(false);
        hide->setToolTip(Purseward::tr(kNoTrayReason));
    }
    programMenu_->addAction(schedule);
    programMenu_->addSeparator();
    programMenu_->addAction(about);
    programMenu_->addAction(exitAction);

    auto* settings = menuBar_->addAction(Purseward::tr("&Settings"));
    settings->setObjectName(QStringLiteral("actSettings"));
    connect(settings, &QAction::triggered, this, &CPursewardDlg::OpenSettings);

    referenceMenu_ = menuBar_->addMenu(Purseward::tr("&Reference Books"));
    const std::array<const char*, 4> names{"&Liberty Reserve", "&Perfect Money", "&V-Money",
                                           "&E-Gold"};
    for (int i = 0; i < 4; ++i) {
        QMenu* sub = referenceMenu_->addMenu(QString::fromLatin1(names[i]));
        const QString prefix = Q(SystemPrefix(i));
        auto* correspondent = sub->addAction(Purseward::tr("&Correspondent RefBook"));
        correspondent->setObjectName(QStringLiteral("actRef%1Correspondent").arg(prefix));
        connect(correspondent, &QAction::triggered, this,
                [this, i] { emit ReferenceBookRequested(i, false); });
        auto* memo = sub->addAction(Purseward::tr("&Memo RefBook"));
        memo->setObjectName(QStringLiteral("actRef%1Memo").arg(prefix));
        connect(memo, &QAction::triggered, this, [this, i] { emit ReferenceBookRequested(i, true); });
        referenceActions_.push_back({correspondent, i});
        referenceActions_.push_back({memo, i});
    }
    connect(referenceMenu_, &QMenu::aboutToShow, this, &CPursewardDlg::UpdateReferenceMenu);
    for (QMenu* menu : {programMenu_, referenceMenu_}) menu->setToolTipsVisible(true);
    connect(this, &CPursewardDlg::ReferenceBookRequested, this, &CPursewardDlg::OpenReferenceBook);
    connect(this, &CPursewardDlg::ScheduleRequested, this, &CPursewardDlg::OpenScheduleView);

    tabMenu_ = new QMenu(QStringLiteral("TabMenu"), this);
    auto* openTab = tabMenu_->addAction(Purseward::tr("Open new &Tab"));
    openTab->setObjectName(QStringLiteral("actOpenTab"));
    connect(openTab, &QAction::triggered, this, &CPursewardDlg::OpenNewTab);
    closeTabAction_ = tabMenu_->addAction(Purseward::tr("&Close current Tab"));
    closeTabAction_->setObjectName(QStringLiteral("actCloseTab"));
    connect(closeTabAction_, &QAction::triggered, this, &CPursewardDlg::CloseCurrentTab);
    connect(tabMenu_, &QMenu::aboutToShow, this, &CPursewardDlg::UpdateTabMenu);
    tabMenu_->setToolTipsVisible(true);

    iconMenu_ = new QMenu(QStringLiteral("IconMenu"), this);
    auto* toggle = iconMenu_->addAction(Purseward::tr("Show/&Hide Program"));
    toggle->setObjectName(QStringLiteral("actToggle"));
    connect(toggle, &QAction::triggered, this, &CPursewardDlg::ToggleShown);
    iconMenu_->addAction(schedule);
    iconMenu_->addSeparator();
    iconMenu_->addAction(about);
    iconMenu_->addAction(exitAction);
}

void CPursewardDlg::BuildTray() {
    if (!options_.trayAvailable()) return;
    tray_ = new QSystemTrayIcon(icon_, this);
    tray_->setToolTip(QStringLiteral("Purseward"));
    tray_->setContextMenu(iconMenu_);
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) {
                    ToggleShown();
                } else if (reason == QSystemTrayIcon::Trigger && !hiddenInTray_) {
                    raise();
                    activateWindow();
                }
            });
    tray_->show();
}

void CPursewardDlg::AddSystemTab(int systemIndex) {
    AccountTabWidget* page = options_.createTab(systemIndex, app_, *this, tabs_);
    if (auto* tab = qobject_cast<CAccountTab*>(page)) {
        InstallSavedAccountList(*tab, app_);
        InstallPayments(*tab, app_);
        InstallMassPayment(*tab, app_);
    }
    const QString name = Q(SystemName(systemIndex));
    page->setAccessibleName(name);
    const int index = tabs_->addTab(page, QIcon(TabBadge(systemIndex)), QString());
    tabs_->setTabToolTip(index, name);
    tabs_->setTabWhatsThis(index, name);
    tabs_->tabBar()->setAccessibleTabName(index, name);
    tabEntries_.push_back({SystemPrefix(systemIndex), std::string(), std::string(), std::string()});
    KeepStatusLineLast();
}

// A new page joins the end of the window's focus chain; the status line sits below the pages
// and stays last in the keyboard's reading order.
void CPursewardDlg::KeepStatusLineLast() {
    if (!clockField_ || !ipField_ || !trafficField_) return;
    // The last widget of the pages (or the tab bar) that takes focus. The tab bar's own scroll
    // buttons are left out: the toolkit does not order the chain after them.
    QWidget* last = nullptr;
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w == clockField_ || w == ipField_ || w == trafficField_ || w == failureField_)
            continue;
        if (w->focusPolicy() == Qt::NoFocus || !tabs_->isAncestorOf(w)) continue;
        if (w->parentWidget() == tabs_->tabBar()) continue;
        last = w;
    }
    if (!last) return;
    QWidget::setTabOrder(last, clockField_);
    QWidget::setTabOrder(clockField_, ipField_);
    QWidget::setTabOrder(ipField_, trafficField_);
    if (failureField_) QWidget::setTabOrder(trafficField_, failureField_);
}

QSize CPursewardDlg::ReadableSize() {
    // While the size is measured, the tables offer the width of all their columns (and room
    // for the vertical scroll bar they get once they fill), and the tab bar that of all its
    // tabs.
    std::vector<std::pair<QTableView*, QAbstractScrollArea::SizeAdjustPolicy>> views;
    int scrollBar = 0;
    for (QTableView* view : tabs_->findChildren<QTableView*>()) {
        views.push_back({view, view->sizeAdjustPolicy()});
        view->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
        scrollBar = std::max(scrollBar, view->verticalScrollBar()->sizeHint().width());
    }
    tabs_->setUsesScrollButtons(false);
    // Layouts keep the sizes they measured, nested ones too.
    auto forgetSizes = [this] {
        const std::function<void(QLayout*)> forget = [&forget](QLayout* l) {
            l->invalidate();
            for (int i = 0; i < l->count(); ++i)
                if (QLayout* nested = l->itemAt(i)->layout()) forget(nested);
        };
        for (QWidget* w : findChildren<QWidget*>()) {
            w->updateGeometry();
            if (w->layout()) forget(w->layout());
        }
        forget(layout());
    };
    forgetSizes();
    QSize hint = sizeHint();
    tabs_->setUsesScrollButtons(true);
    for (auto& [view, policy] : views) view->setSizeAdjustPolicy(policy);
    forgetSizes();
    hint.rwidth() += scrollBar;
    return hint.expandedTo(QSize(662, 475));
}

std::string CPursewardDlg::TabPrefix(int index) const {
    if (index < 0 || index >= static_cast<int>(tabEntries_.size())) return std::string();
    return tabEntries_[index].prefix;
}

std::string CPursewardDlg::TabTableName(int index) const {
    if (index < 0 || index >= static_cast<int>(tabEntries_.size())) return std::string();
    return tabEntries_[index].tableName;
}

AccountTabWidget* CPursewardDlg::FirstTab(int systemIndex) const {
    if (systemIndex < 0 || systemIndex >= 6) return nullptr;
    return firstTabs_[systemIndex];
}

// ---- services of the tabs ----

std::string CPursewardDlg::HttpsGet(const SecureString& url) { return Request(url, true); }

std::string CPursewardDlg::HttpGet(const SecureString& url) { return Request(url, false); }

// On the window's thread the transfer runs elsewhere while the window waits for it; the
// banner's worker thread calls the transport itself.
std::string CPursewardDlg::Request(const SecureString& url, bool secure) {
    if (QThread::currentThread() != thread())
        return secure ? transport_->HttpsGet(url) : transport_->HttpGet(url);
    if (secure) return SecureRequest(url);
    // The URL may carry credentials: referred to, not copied (Run returns only once the
    // transfer's thread is done with it).
    return waiter_->Run(requestTopic_, [this, &url](TransferControl& control) {
        return transport_->Fetch(url, false, control);
    });
}

Exchanged CPursewardDlg::Exchange(const SecureString& url, bool secure) {
    if (QThread::currentThread() != thread()) return transport_->Exchange(url, secure, nullptr);
    // The waiter carries text; the result is handed over beside it, and read only after the
    // transfer's thread has ended.
    auto result = std::make_shared<Exchanged>();
    waiter_->Run(requestTopic_, [this, &url, secure, result](TransferControl& control) {
        *result = transport_->Exchange(url, secure, &control);
        return std::string();
    });
    if (secure) NoteOutcome(*result, url);
    return std::move(*result);
}

bool CPursewardDlg::IsParseError(const Exchanged& r) {
    return r.outcome == Outcome::NotSent && r.failure == FailureKind::Other &&
           r.text == "AfxParseURL Error";
}

void CPursewardDlg::NoteOutcome(const Exchanged& r, const SecureString& url) {
    const bool background = backgroundOrigin_ != nullptr;
    const int index = background ? IndexOfPage(backgroundOrigin_) : tabs_->currentIndex();
    if (index < 0) return;
    std::string& failure = tabEntries_[index].failure;
    if (r.outcome == Outcome::Answered) {
        if (failure.empty()) return;
        failure.clear();
    } else if (background && r.failure != FailureKind::Cancelled && !IsParseError(r)) {
        // Nothing interrupts the user; the tab, the status line and the tray tell it.
        failure = FailureNote(r, requestTopic_.waitingFor, ServerOf(url, true),
                              Format(app_.GetClock().LocalNow(), "%H:%M"));
    } else {
        return;
    }
    ShowTabCaption(index);
    ShowFailures();
}

std::string CPursewardDlg::SecureRequest(const SecureString& url) {
    Exchanged r = Exchange(url, true);
    if (r.outcome == Outcome::Answered) return std::move(r.body);
    // An address that cannot be used is the program's fault: always a message box.
    if (IsParseError(r)) {
        app_.Ui().Message(r.text);
        return std::string();
    }
    // A cancel was the user's own doing, also of a timer's request: its text says what may
    // have become of a payment.
    if (r.failure == FailureKind::Cancelled) {
        TellUser(r.text);
        return std::string();
    }
    // A timer's failure is noted quietly; what came of a broken answer is not handed on, its
    // parse could only raise a message. Another status than 200 is an empty answer without
    // a message.
    if (backgroundOrigin_ != nullptr || r.failure == FailureKind::HttpStatus) return std::string();
    TellUser(FailureMessage(r, requestTopic_.waitingFor, ServerOf(url, true)));
    // An answer that broke off is handed on as far as it came.
    return std::move(r.body);
}

void CPursewardDlg::TellUser(const std::string& text) {
    if (hiddenInTray_) NotifyUser(text);
    else app_.Ui().Message(text);
}

const void* CPursewardDlg::SetBackgroundOrigin(const void* origin) {
    const void* before = backgroundOrigin_;
    backgroundOrigin_ = origin;
    return before;
}

int CPursewardDlg::IndexOfPage(const void* page) const {
    for (int i = 0; i < tabs_->count(); ++i) {
        const AccountTabWidget* tab = qobject_cast<const AccountTabWidget*>(tabs_->widget(i));
        if (tab != nullptr && static_cast<const void*>(tab) == page) return i;
    }
    return -1;
}

std::string CPursewardDlg::TabFailure(int index) const {
    if (index < 0 || index >= static_cast<int>(tabEntries_.size())) return std::string();
    return tabEntries_[index].failure;
}

void CPursewardDlg::ShowFailures() {
    QStringList notes;
    for (const TabEntry& entry : tabEntries_)
        if (!entry.failure.empty()) notes << Q(entry.failure);
    failureField_->setText(notes.join(QStringLiteral("; ")));
    failureField_->setToolTip(notes.join(QLatin1Char('\n')));
    failureField_->setVisible(!notes.isEmpty());
    if (tray_) {
        notes.prepend(QStringLiteral("Purseward"));
        tray_->setToolTip(notes.join(QLatin1Char('\n')));
    }
}

bool CPursewardDlg::RequestWaiting() const { return waiter_->Waiting(); }

void CPursewardDlg::NotifyUser(const std::string& text) {
    OnGuiThread([this, text] {
        if (!tray_) return;
        options_.showBalloon(QStringLiteral("Purseward"), LimitText(Q(text), kBalloonTextLimit));
        options_.playSound(SoundPath());
    });
}

QString CPursewardDlg::SoundPath() const {
    const std::string dir = programDir_.empty() ? app_.BaseDir() : programDir_;
    return Q(dir + "Sound/notify.wav");
}

void CPursewardDlg::SetTabCaption(const std::string& text) {
    const int index = tabs_->currentIndex();
    if (index < 0) return;
    tabEntries_[index].account = text;
    // A tab that logs out has no background requests left to fail.
    if (text.empty() && !tabEntries_[index].failure.empty()) {
        tabEntries_[index].failure.clear();
        ShowFailures();
    }
    ShowTabCaption(index);
}

void CPursewardDlg::ShowTabCaption(int index) {
    const TabEntry& entry = tabEntries_[index];
    QString caption = TabCaption(Q(entry.account));
    if (!entry.failure.empty())
        caption = caption.isEmpty() ? Purseward::tr(kOfflineMark)
                                    : caption + ' ' + Purseward::tr(kOfflineMark);
    tabs_->setTabText(index, EscapeMnemonics(caption));
    // Screen readers hear the system, the account and the mark.
    const QString name = Q(SystemName(SystemOfPrefix(entry.prefix)));
    tabs_->tabBar()->setAccessibleTabName(index, caption.isEmpty() ? name : name + ' ' + caption);
    tabs_->tabBar()->update();
}

std::string CPursewardDlg::MakeTabTableName(const std::string& suffix) {
    const int index = tabs_->currentIndex();
    if (index < 0) return std::string();
    std::string name;
    if (!suffix.empty()) name = tabEntries_[index].prefix + "_" + suffix;
    tabEntries_[index].tableName = name;
    return name;
}

void CPursewardDlg::ShowCurrentIP(const std::string& text) {
    std::string shown;
    {
        std::lock_guard<std::timed_mutex> lock(traffic_.statusLock);
        ipText_ = Str(107) + " " + text;
        shown = ipText_;
    }
    OnGuiThread([this, shown] { ipField_->setText(Q(shown)); });
}

void CPursewardDlg::ShowBanner() {
    banner_->ShowBanner();
    emit BannerRequested();
}

void CPursewardDlg::RefreshClock() {
    const std::string text = Str(141) + " : " + Format(app_.GetClock().UtcNow(), "%Y-%m-%d %H:%M");
    {
        std::lock_guard<std::timed_mutex> lock(traffic_.statusLock);
        clockText_ = text;
    }
    clockField_->setText(Q(text));
}

void CPursewardDlg::OnGuiThread(std::function<void()> fn) {
    if (QThread::currentThread() == thread()) fn();
    // The transfer of a waiting request hands it to the wait, which runs it before returning.
    else if (!BackgroundTransfer::DeferToWaiter(fn))
        QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

// ---- commands ----

void CPursewardDlg::ToggleShown() {
    if (hiddenInTray_) RestoreFromTray();
    else if (tray_) HideToTray();
    // Without a tray icon the window is never hidden: nothing would bring it back.
}

void CPursewardDlg::HideToTray() {
    hiddenInTray_ = true;
    // Hiding from inside a state change confuses some window managers: do it right after.
    QMetaObject::invokeMethod(this, [this] { if (hiddenInTray_) hide(); }, Qt::QueuedConnection);
}

void CPursewardDlg::RestoreFromTray() {
    hiddenInTray_ = false;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void CPursewardDlg::BringToFront() {
    if (waiter_->Waiting()) return waiter_->AfterWait("raise", [this] { BringToFront(); });
    if (hiddenInTray_ || isMinimized() || !isVisible()) RestoreFromTray();
    raise();
    activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->show();
        modal->raise();
        modal->activateWindow();
    }
}

void CPursewardDlg::OpenNewTab() {
    const int index = tabs_->currentIndex();
    if (index < 0) return;
    const int system = SystemOfPrefix(tabEntries_[index].prefix);
    if (system < 0) return;
    AddSystemTab(system);
    tabs_->update();
}

void CPursewardDlg::CloseCurrentTab() {
    const int index = tabs_->currentIndex();
    if (index < 0 || index < fixedTabCount_ || waiter_->Waiting()) return;
    tabs_->setCurrentIndex(index - 1);
    QWidget* page = tabs_->widget(index);
    tabs_->removeTab(index);
    tabEntries_.erase(tabEntries_.begin() + index);
    page->deleteLater();
    ShowFailures();
}

void CPursewardDlg::OpenAbout() {
    const std::string site =
        app_.GetString(keys::kSetting, keys::kInfoSite, keys::kDefInfoSite);
    CAboutDlg about(QUrl(Q(site)), options_.openUrl, isVisible() ? this : nullptr);
    about.exec();
}

void CPursewardDlg::OpenSettings() {
    CSetting dialog(app_, app_.Ui(), this);
    dialog.exec();
}

void CPursewardDlg::OpenReferenceBook(int systemIndex, bool memo) {
    if (systemIndex < 0 || systemIndex > 3) return;
    // "Get Name" asks the first tab of the system, and only after its login.
    NameLookup lookup;
    const int editor = RefEditorFor(RefListOf(systemIndex, memo).file);
    if (editor == 1 || editor == 4) {  // the payee lists of LR and V-Money
        if (auto* tab = qobject_cast<CAccountTab*>(firstTabs_[systemIndex])) {
            lookup.enabled = !tab->BalanceRows().empty();
            lookup.query = [tab](const std::string& account) {
                return tab->LookUpAccountName(account);
            };
        }
    }
    CRef::Manage(this, RefListOf(systemIndex, memo), app_.ProgramDir(), app_.Ui(), lookup);
}

TextList CPursewardDlg::AccountTags() const {
    TextList tags;
    for (const TabEntry& entry : tabEntries_) tags.push_back(entry.tableName);
    return tags;
}

void CPursewardDlg::OpenScheduleView() {
    CSheduleView view(app_.ProgramDir(), AccountTags(), isVisible() ? this : nullptr);
    view.exec();
}

void CPursewardDlg::UpdateTabMenu() {
    const int index = tabs_->currentIndex();
    const bool closable = index >= 0 && index >= fixedTabCount_;
    closeTabAction_->setEnabled(closable);
    closeTabAction_->setToolTip(closable ? QString() : Purseward::tr(kFixedTabReason));
}

void CPursewardDlg::UpdateReferenceMenu() {
    for (auto& [action, system] : referenceActions_) {
        const bool on = app_.enable[system] != 0;
        action->setEnabled(on);
        action->setToolTip(on ? QString()
                              : Q(SystemName(system)) + Purseward::tr(kSystemOffReason));
    }
}

bool CPursewardDlg::ShowTabMenu(const QPoint& pos, bool keyboard) {
    QTabBar* bar = tabs_->tabBar();
    const int index = tabs_->currentIndex();
    if (index < 0) return false;
    const QRect header = bar->tabRect(index);
    // A press counts when it lies across the current tab's header (its height is not
    // examined); the menu key opens the menu below that header.
    if (!keyboard && (pos.x() < header.left() || pos.x() > header.right())) return false;
    tabMenu_->popup(bar->mapToGlobal(keyboard ? header.center() : pos));
    return true;
}

bool CPursewardDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu && watched == tabs_->tabBar()) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        ShowTabMenu(menuEvent->pos(), menuEvent->reason() == QContextMenuEvent::Keyboard);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- window events ----

void CPursewardDlg::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    clockTimer_->Start(kClockPeriodMs);
    // The keyboard starts in the current tab's first control, else on the tab bar.
    QWidget* start = tabs_->tabBar();
    if (QWidget* page = tabs_->currentWidget()) {
        for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
            if (!page->isAncestorOf(w)) break;
            if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled()) {
                start = w;
                break;
            }
        }
    }
    start->setFocus();
}

void CPursewardDlg::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    // Minimising sends the window to the tray, but only when there is a tray to come back from.
    if (isMinimized() && tray_ && !hiddenInTray_) HideToTray();
}

void CPursewardDlg::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!app_.Ui().AskYesNo(Str(109))) {
        event->ignore();
        return;
    }
    closing_ = true;
    SaveWindowPlacement(*this, QString::fromLatin1(kMainWindowPlacement));
    app_.WriteString(keys::kSetting, keys::kLastVisitDate,
                     Format(app_.GetClock().LocalNow(), "%d/%m/%Y"));
    for (int system : kSaveOrder) {
        if (app_.enable[system] != 0 && firstTabs_[system]) firstTabs_[system]->SaveState();
    }
    clockTimer_->Stop();
    if (tray_) tray_->hide();
    event->accept();
    emit Closed();
}

}  // namespace pw
