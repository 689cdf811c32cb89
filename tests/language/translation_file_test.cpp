// The translation files against the code: every text the code marks has a finished entry,
// and each translation keeps what the program relies on (place markers, accelerators,
// shortcuts, the spaces and colons texts are joined with).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <set>
#include <vector>

namespace {

struct Entry {
    QString context, source, translation, type;
};

std::vector<Entry> ReadTs(const QString& path) {
    std::vector<Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return entries;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            entry = Entry{context, {}, {}, {}};
        } else if (xml.name() == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            entries.push_back(entry);
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return entries;
}

const QString kDir = QStringLiteral(PW_TRANSLATIONS_DIR);
// Every language's files: purseward_<code>.ts from the code, qt_<code>.ts kept by hand.
QStringList TsFiles(const QString& pattern) {
    return QDir(kDir).entryList({pattern}, QDir::Files, QDir::Name);
}
const QStringList kFiles = TsFiles(QStringLiteral("*.ts"));

// Texts that read the same in Russian: names of systems and of the program, units and
// codes.
const std::set<QString> kSameInBothLanguages = {QStringLiteral("USD")};

std::string Describe(const Entry& e) {
    return (e.context + QStringLiteral(" \"") + e.source + QStringLiteral("\" -> \"") +
            e.translation + QStringLiteral("\"") +
            (e.type.isEmpty() ? QString() : QStringLiteral(" [") + e.type + QStringLiteral("]")))
        .toStdString();
}

TEST(TranslationFile, EveryTextOfTheCodeHasAFinishedTranslation) {
    // lupdate reads the code into a copy: a new text arrives unfinished, a text the code no
    // longer has is marked vanished.
    const QStringList fromCode = TsFiles(QStringLiteral("purseward_*.ts"));
    ASSERT_TRUE(fromCode.contains(QStringLiteral("purseward_ru.ts")));
    for (const QString& name : fromCode) {
        QTemporaryDir tmp;
        ASSERT_TRUE(tmp.isValid());
        const QString copy = tmp.filePath(name);
        ASSERT_TRUE(QFile::copy(kDir + QLatin1Char('/') + name, copy));
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(PW_SOURCE_DIR));
        QStringList args = QStringLiteral(PW_LUPDATE_OPTIONS).split(QLatin1Char('|'));
        args << QStringLiteral("-ts") << copy;
        lupdate.start(QStringLiteral(PW_LUPDATE), args);
        ASSERT_TRUE(lupdate.waitForFinished(120000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

        const auto entries = ReadTs(copy);
        EXPECT_GE(entries.size(), 150u) << name.toStdString();  // the table and the windows
        for (const auto& e : entries) {
            EXPECT_TRUE(e.type.isEmpty() && !e.translation.isEmpty())
                << name.toStdString() << ": no finished translation: " << Describe(e)
                << " (build pw_translations_update, then translate)";
        }
    }
    for (const auto& name : kFiles) {
        for (const auto& e : ReadTs(kDir + QLatin1Char('/') + name)) {
            EXPECT_TRUE(e.type.isEmpty() && !e.translation.isEmpty())
                << name.toStdString() << ": " << Describe(e);
        }
    }
}

// The pieces of a text that must come through the translation unchanged.
struct Markers {
    QStringList places;  // %1, %n, %s, %.2f ... in order of appearance, sorted for %1..%9
    int accelerators = 0;
    QString shortcut;    // after a tab
    QString lead, tail;  // spaces around the text, and a closing ":" / " :" / "..." / "?"
};

Markers MarkersOf(const QString& text) {
    Markers m;
    static const QRegularExpression place(QStringLiteral("%(\\d|n|[-.\\d]*[sdfu])"));
    for (auto it = place.globalMatch(text); it.hasNext();) m.places << it.next().captured(0);
    // Numbered markers may change places; printf-style ones may not.
    if (!m.places.isEmpty() && m.places.front().size() == 2 && m.places.front()[1].isDigit())
        m.places.sort();
    QString plain = text;
    plain.remove(QStringLiteral("&&"));
    m.accelerators = static_cast<int>(plain.count(QLatin1Char('&')));
    const auto tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0) m.shortcut = text.mid(tab);
    static const QRegularExpression lead(QStringLiteral("^\\s*"));
    static const QRegularExpression tail(QStringLiteral("(\\s*(\\.\\.\\.|:|\\?))?\\s*$"));
    m.lead = lead.match(text).captured(0);
    m.tail = tail.match(text.left(tab >= 0 ? tab : text.size())).captured(0);
    return m;
}

TEST(TranslationFile, TranslationsKeepMarkersAccelerators) {
    for (const auto& name : kFiles) {
        for (const auto& e : ReadTs(kDir + QLatin1Char('/') + name)) {
            if (e.translation.isEmpty()) continue;
            const Markers s = MarkersOf(e.source), t = MarkersOf(e.translation);
            EXPECT_EQ(s.places, t.places) << Describe(e);
            EXPECT_EQ(s.accelerators, t.accelerators) << Describe(e);
            EXPECT_EQ(s.shortcut, t.shortcut) << Describe(e);
            EXPECT_EQ(s.lead, t.lead) << Describe(e);
            EXPECT_EQ(s.tail, t.tail) << Describe(e);
            if (!kSameInBothLanguages.count(e.source)) {
                EXPECT_NE(e.source, e.translation) << "left in English: " << Describe(e);
            }
        }
    }
}

TEST(TranslationFile, MarkersAreFound) {
    // The checker itself: what it must tell apart.
    EXPECT_EQ(MarkersOf(QStringLiteral("Batch : %s")).places, QStringList{QStringLiteral("%s")});
    EXPECT_EQ(MarkersOf(QStringLiteral("%2 of %1")).places,
              (QStringList{QStringLiteral("%1"), QStringLiteral("%2")}));
    EXPECT_EQ(MarkersOf(QStringLiteral("%.2f oz")).places, QStringList{QStringLiteral("%.2f")});
    EXPECT_EQ(MarkersOf(QStringLiteral("Tom && &Jerry")).accelerators, 1);
    EXPECT_EQ(MarkersOf(QStringLiteral("Add\tIns")).shortcut, QStringLiteral("\tIns"));
    EXPECT_EQ(MarkersOf(QStringLiteral("Make Payment ...")).tail, QStringLiteral(" ..."));
    EXPECT_EQ(MarkersOf(QStringLiteral("Current IP :")).tail, QStringLiteral(" :"));
    EXPECT_EQ(MarkersOf(QStringLiteral("saved to ")).tail, QStringLiteral(" "));
    EXPECT_NE(MarkersOf(QStringLiteral("Close ?")).tail, MarkersOf(QStringLiteral("Close")).tail);
}

}  // namespace
