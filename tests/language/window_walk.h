#pragma once
// A walk over a window of the program: the texts it shows or tells a screen reader that are
// still English, and the labels and buttons cut short.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <set>

namespace pw::walk {

// Latin words that read the same in a Russian text: names of the program and the systems,
// codes, units and keys.
inline const std::set<QString> kSameInRussian = {
    "Purseward", "Liberty", "Reserve", "Perfect", "Money", "V-Money", "e-gold",
    "LR",        "PM",      "VM",      "EG",      "GDP",   "ECU",     "ECUMoney",
    "E-Gold",    "USD",     "LRUSD",   "LREUR",   "API",   "PIN",     "ID",
    "IP",        "GMT",     "CSV",     "Ins",     "Del",   "F4",      "F5"};

// The texts a widget shows or tells a screen reader.
inline QStringList TextsOf(QWidget* w) {
    QStringList texts{w->toolTip(), w->accessibleName()};
    if (w->isWindow()) texts << w->windowTitle();
    if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) texts << group->title();
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    }
    if (auto* view = qobject_cast<QTableView*>(w); view && view->model()) {
        for (int c = 0; c < view->model()->columnCount(); ++c)
            texts << view->model()->headerData(c, Qt::Horizontal).toString();
    }
    if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i) << tabs->tabToolTip(i);
    }
    for (QAction* action : w->actions()) texts << action->text() << action->toolTip();
    return texts;
}

// An English word of a text: Latin letters, not a name, in a text without Cyrillic. An
// address is data.
inline QString EnglishWord(const QString& text) {
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    if (text.startsWith(QLatin1String("http://")) || text.startsWith(QLatin1String("https://")))
        return QString();
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z0-9-]+"));
    if (cyrillic.match(text).hasMatch()) return QString();
    for (auto it = word.globalMatch(QString(text).remove(QLatin1Char('&'))); it.hasNext();) {
        const QString w = it.next().captured(0);
        if (!kSameInRussian.count(w)) return w;
    }
    return QString();
}

// Shows the window at its own size and looks at every widget in it: the texts still
// English and the labels and buttons cut short.
inline QStringList WindowProblems(QWidget& window) {
    QStringList problems;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return {QStringLiteral("not shown")};
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        const QString where = QLatin1String(w->metaObject()->className());
        if (auto* menu = qobject_cast<QMenu*>(w)) {  // pops up later
            for (QAction* action : menu->actions()) {
                if (!EnglishWord(action->text()).isEmpty())
                    problems << QStringLiteral("English \"%1\" in %2").arg(action->text(), where);
            }
            continue;
        }
        if (w != &window && !w->isVisibleTo(&window)) continue;
        for (const QString& text : TextsOf(w)) {
            if (!EnglishWord(text).isEmpty())
                problems << QStringLiteral("English \"%1\" in %2").arg(text, where);
        }
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        const bool hasText = (label && !label->wordWrap() && !label->text().isEmpty()) ||
                             (button && !button->text().isEmpty());
        if (hasText && w->width() < w->sizeHint().width())
            problems << QStringLiteral("cut short: %1 in %2")
                            .arg(label ? label->text() : button->text(), where);
    }
    if (QScreen* screen = window.screen()) {
        const QSize free = screen->availableGeometry().size();
        if (window.width() > free.width() || window.height() > free.height())
            problems << QStringLiteral("larger than the screen: %1x%2")
                            .arg(window.width())
                            .arg(window.height());
    }
    window.close();
    return problems;
}
}  // namespace pw::walk
