#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <filesystem>
#include <random>

#include "settings/settings_store.h"
#include "settings_test_util.h"

namespace pw {
namespace {

using test::Slurp;
using test::Spill;

class IniTest : public ::testing::Test {
protected:
    test::ScratchDir dir;
    std::string path = dir / "Set/Purseward.ini";

    std::string Read(const std::string& section, const std::string& key) {
        std::string v;
        IniRead(path, section, key, v);
        return v;
    }
};

// --- reading rules -------------------------------------------------------------------------

TEST_F(IniTest, NamesCompareWithoutRegardToCase) {
    Spill(path, "[Setting]\r\nSelectLanguage=English\r\n");
    EXPECT_EQ(Read("setting", "selectlanguage"), "English");
    EXPECT_EQ(Read("SETTING", "SELECTLANGUAGE"), "English");
    EXPECT_EQ(Read("Settings", "SelectLanguage"), "");
}

TEST_F(IniTest, ValueIsTrimmedAndLosesOnePairOfQuotes) {
    Spill(path,
          "[S]\r\n"
          "  blanks \t=  \t two words \t \r\n"
          "quoted=\"  kept blanks  \"\r\n"
          "twice=\"\"inner\"\"\r\n"
          "half=\"open\r\n"
          "lone=\"\r\n"
          "equals=a=b=c\r\n");
    EXPECT_EQ(Read("S", "blanks"), "two words");
    EXPECT_EQ(Read("S", "quoted"), "  kept blanks  ");
    EXPECT_EQ(Read("S", "twice"), "\"inner\"");
    EXPECT_EQ(Read("S", "half"), "\"open");
    EXPECT_EQ(Read("S", "lone"), "\"");
    EXPECT_EQ(Read("S", "equals"), "a=b=c");
}

TEST_F(IniTest, MissingAndEmptyReadTheSame) {
    Spill(path, "[S]\r\nempty=\r\nquotes=\"\"\r\n");
    std::string v = "junk";
    EXPECT_FALSE(IniRead(path, "S", "empty", v));
    EXPECT_EQ(v, "");
    EXPECT_FALSE(IniRead(path, "S", "quotes", v));
    EXPECT_FALSE(IniRead(path, "S", "missing", v));
    EXPECT_FALSE(IniRead(path, "Missing", "empty", v));
    EXPECT_FALSE(IniRead(dir / "nofile.ini", "S", "empty", v));
}

TEST_F(IniTest, LinefeedOnlyFilesAndKeysOutsideSections) {
    Spill(path, "stray=1\n[S]\nk=v\n");
    EXPECT_EQ(Read("S", "k"), "v");
    EXPECT_EQ(Read("", "stray"), "");
}

TEST_F(IniTest, LongValuesReadWhole) {
    const std::string longValue(5000, 'A');
    Spill(path, "[S]\r\nk=" + longValue + "\r\n");
    EXPECT_EQ(Read("S", "k"), longValue);
}

// --- writing rules -------------------------------------------------------------------------

TEST_F(IniTest, ReplaceInPlaceKeepsEveryOtherLine) {
    const std::string before =
        "; a note\r\n"
        "[Setting]\r\n"
        "A=1\r\n"
        "garbage without equals\r\n"
        "  b = old  \r\n"
        "\r\n"
        "[LR]\r\n"
        "b=untouched\r\n";
    Spill(path, before);
    ASSERT_TRUE(IniWrite(path, "setting", "B", "new"));
    EXPECT_EQ(Slurp(path),
              "; a note\r\n"
              "[Setting]\r\n"
              "A=1\r\n"
              "garbage without equals\r\n"
              "B=new\r\n"
              "\r\n"
              "[LR]\r\n"
              "b=untouched\r\n");
}

TEST_F(IniTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    Spill(path, "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n");
    ASSERT_TRUE(IniWrite(path, "A", "c", "3"));
    EXPECT_EQ(Slurp(path), "[A]\r\na=1\r\nc=3\r\n\r\n[B]\r\nb=1\r\n");

    Spill(path, "[A]\r\n[B]\r\n");
    ASSERT_TRUE(IniWrite(path, "A", "k", "v"));
    EXPECT_EQ(Slurp(path), "[A]\r\nk=v\r\n[B]\r\n");
}

TEST_F(IniTest, NewSectionGoesAtTheEnd) {
    Spill(path, "[A]\r\na=1\r\n");
    ASSERT_TRUE(IniWrite(path, "B", "b", "2"));
    EXPECT_EQ(Slurp(path), "[A]\r\na=1\r\n[B]\r\nb=2\r\n");
}

TEST_F(IniTest, MissingFinalLineEndIsCompleted) {
    Spill(path, "[A]\r\na=1");
    ASSERT_TRUE(IniWrite(path, "A", "c", "3"));
    EXPECT_EQ(Slurp(path), "[A]\r\na=1\r\nc=3\r\n");

    Spill(path, "[A]\r\na=1");
    ASSERT_TRUE(IniWrite(path, "B", "b", "2"));
    EXPECT_EQ(Slurp(path), "[A]\r\na=1\r\n[B]\r\nb=2\r\n");

    Spill(path, "[A]");
    ASSERT_TRUE(IniWrite(path, "A", "a", "1"));
    EXPECT_EQ(Slurp(path), "[A]\r\na=1\r\n");
}

TEST_F(IniTest, LinefeedFileKeepsItsOwnLineEnds) {
    Spill(path, "[A]\nx=1\ny=2\n");
    ASSERT_TRUE(IniWrite(path, "A", "x", "5"));
    EXPECT_EQ(Slurp(path), "[A]\nx=5\ny=2\n");
    ASSERT_TRUE(IniWrite(path, "A", "z", "3"));
    EXPECT_EQ(Read("A", "z"), "3");
    EXPECT_EQ(Read("A", "y"), "2");
}

// Files from other editors: a byte-order mark at the start, a CR alone as the line end, a
// settings file that is a symbolic link. Each is read, and a write changes only its key.
TEST_F(IniTest, HandEditedFilesAreReadAndRewrittenInTheirOwnForm) {
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        const char* name;
        std::string text, afterWrite;
    };
    const Case cases[] = {
        {"byte-order mark", bom + "[Setting]\r\nPass1=abc\r\n",
         bom + "[Setting]\r\nPass1=abc\r\nNew=1\r\n"},
        {"CR alone", "[Setting]\rPass1=abc\r[LR]\rX=1\r",
         "[Setting]\rPass1=abc\rNew=1\r[LR]\rX=1\r"},
        {"mark and CR alone", bom + "[Setting]\rPass1=abc",
         bom + "[Setting]\rPass1=abc\rNew=1\r"},
    };
    for (const Case& c : cases) {
        Spill(path, c.text);
        EXPECT_EQ(Read("Setting", "Pass1"), "abc") << c.name;
        EXPECT_EQ(IniSections(path).front(), "Setting") << c.name;
        ASSERT_TRUE(IniWrite(path, "Setting", "New", "1")) << c.name;
        EXPECT_EQ(Slurp(path), c.afterWrite) << c.name;
    }
    // Through a symbolic link: the target changes, the link stays a link.
    const std::string target = dir / "elsewhere/real.ini";
    Spill(target, "[Setting]\r\nPass1=abc\r\n");
    std::filesystem::remove(path);
    std::filesystem::create_symlink(target, path);
    ASSERT_TRUE(IniWrite(path, "Setting", "New", "1"));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(Slurp(target), "[Setting]\r\nPass1=abc\r\nNew=1\r\n");
    EXPECT_EQ(Read("Setting", "New"), "1");
}

TEST_F(IniTest, NewFileAndFolderAreCreatedOwnerOnly) {
    ASSERT_FALSE(std::filesystem::exists(dir / "Set"));
    ASSERT_TRUE(IniWrite(path, "Setting", "k", "v"));
    EXPECT_EQ(Slurp(path), "[Setting]\r\nk=v\r\n");
    EXPECT_EQ(test::ModeOf(path), 0600u);
}

TEST_F(IniTest, RewriteOfAWorldReadableFileMakesItOwnerOnly) {
    Spill(path, "[S]\r\nk=1\r\n");
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(IniWrite(path, "S", "k", "2"));
    EXPECT_EQ(test::ModeOf(path), 0600u);
    ASSERT_TRUE(IniWrite(path, "S", "k", "3", /*ownerOnly=*/false));
    EXPECT_EQ(test::ModeOf(path), 0600u);
}

TEST_F(IniTest, ValuesTheReaderWouldAlterRoundTrip) {
    for (const std::string v : {"  padded  ", "\"quoted\"", "\t", "\"", "a \"b\" c", "x=y"}) {
        ASSERT_TRUE(IniWrite(path, "S", "k", v)) << v;
        EXPECT_EQ(Read("S", "k"), v);
    }
}

TEST_F(IniTest, EditsThatWouldBreakTheFileAreRefused) {
    Spill(path, "[S]\r\nk=1\r\n");
    const std::string before = Slurp(path);
    EXPECT_FALSE(IniWrite(path, "S", "k", "two\r\nlines"));
    EXPECT_FALSE(IniWrite(path, "S", "k", "cr\ronly"));
    EXPECT_FALSE(IniWrite(path, "S", "a=b", "1"));
    EXPECT_FALSE(IniWrite(path, "S", "[x", "1"));
    EXPECT_FALSE(IniWrite(path, "S]", "k", "1"));
    EXPECT_FALSE(IniWrite(path, "", "k", "1"));
    EXPECT_FALSE(IniWrite(path, "S", "", "1"));
    EXPECT_FALSE(IniWriteMany(path, {{"S", "k", "fine"}, {"S", "k2", "bad\n"}}));
    EXPECT_EQ(Slurp(path), before);
}

TEST_F(IniTest, WriteManyCommitsEveryEditInOneSave) {
    Spill(path, "[S]\r\na=1\r\n");
    int saves = 0;
    SetWriteFunctionForTest([&](int fd, const char* data, std::size_t size) -> long {
        ++saves;
        return static_cast<long>(::write(fd, data, size));
    });
    const bool ok = IniWriteMany(path, {{"S", "a", "2"}, {"T", "b", "3"}, {"s", "c", "4"},
                                        {"T", "b", "5"}});
    SetWriteFunctionForTest(WriteFunction());
    ASSERT_TRUE(ok);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(Slurp(path), "[S]\r\na=2\r\nc=4\r\n[T]\r\nb=5\r\n");
}

TEST_F(IniTest, SectionsListedOnceInOrder) {
    Spill(path, "[Setting]\r\n[LR]\r\n[setting]\r\n  [ PM ]  \r\n");
    EXPECT_EQ(IniSections(path), (std::vector<std::string>{"Setting", "LR", "PM"}));
    EXPECT_TRUE(IniSections(dir / "none.ini").empty());
}

// --- damaged files -------------------------------------------------------------------------

std::string Junk(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(gen() & 0xFF);
    return s;
}

TEST_F(IniTest, BinaryJunkKeepsItsReadableDataAndTakesWrites) {
    const std::string junk = Junk(64 * 1024, 7);
    const std::string before = "[Setting]\r\nA=1\r\n" + junk;
    Spill(path, before);
    EXPECT_EQ(Read("Setting", "A"), "1");
    std::string ignored;
    IniRead(path, "Anything", "Else", ignored);  // must simply return

    ASSERT_TRUE(IniWrite(path, "Setting", "Fresh", "2"));
    EXPECT_EQ(Read("Setting", "A"), "1");
    EXPECT_EQ(Read("Setting", "Fresh"), "2");
    // Taking the added line out again gives the old bytes: nothing was lost or altered.
    std::string after = Slurp(path);
    const std::size_t at = after.find("Fresh=2\r\n");
    ASSERT_NE(at, std::string::npos);
    after.erase(at, 9);
    if (at == after.size() && after.size() == before.size() + 2)
        after.erase(at - 2, 2);  // the line end that completed the junk's last line
    EXPECT_EQ(after, before);
}

TEST_F(IniTest, NulBytesAreOrdinaryCharacters) {
    Spill(path, std::string("[S]\r\nk=a\0b\r\n\0\0\0\r\nj=2\r\n", 20));
    EXPECT_EQ(Read("S", "k"), std::string("a\0b", 3));
    EXPECT_EQ(Read("S", "j"), "2");
    ASSERT_TRUE(IniWrite(path, "S", "j", "3"));
    EXPECT_EQ(Read("S", "k"), std::string("a\0b", 3));
    EXPECT_EQ(Read("S", "j"), "3");
}

TEST_F(IniTest, LinesWithoutEqualsAreSkipped) {
    Spill(path, "[S]\r\njust words\r\nk=1\r\nmore words\r\n");
    EXPECT_EQ(Read("S", "k"), "1");
    EXPECT_EQ(Read("S", "just words"), "");
    ASSERT_TRUE(IniWrite(path, "S", "n", "2"));
    EXPECT_EQ(Slurp(path), "[S]\r\njust words\r\nk=1\r\nn=2\r\nmore words\r\n");
}

TEST_F(IniTest, DuplicateSectionsFirstOccurrenceWins) {
    Spill(path, "[S]\r\na=1\r\n[T]\r\nt=1\r\n[s]\r\na=2\r\nb=3\r\n");
    EXPECT_EQ(Read("S", "a"), "1");
    EXPECT_EQ(Read("S", "b"), "");  // only in the second occurrence
    ASSERT_TRUE(IniWrite(path, "S", "b", "9"));
    ASSERT_TRUE(IniWrite(path, "S", "a", "8"));
    EXPECT_EQ(Slurp(path), "[S]\r\na=8\r\nb=9\r\n[T]\r\nt=1\r\n[s]\r\na=2\r\nb=3\r\n");
}

TEST_F(IniTest, TenMegabyteFileIsHandledInReasonableTime) {
    std::string big = "[Big]\r\n";
    while (big.size() < 10 * 1024 * 1024) big += "filler=0123456789abcdef\r\n";
    big += "[Setting]\r\nLast=yes";
    Spill(path, big);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Read("Setting", "Last"), "yes");
    ASSERT_TRUE(IniWrite(path, "setting", "Added", "1"));
    EXPECT_EQ(Read("Setting", "Added"), "1");
    EXPECT_EQ(Read("Big", "filler"), "0123456789abcdef");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(Slurp(path).size(), big.size() + 2 + 9);
}

TEST_F(IniTest, TenMegabytesWithoutALineEnd) {
    Spill(path, "[S]\r\nk=" + std::string(10 * 1024 * 1024, 'x'));
    EXPECT_EQ(Read("S", "k").size(), 10u * 1024 * 1024);
    ASSERT_TRUE(IniWrite(path, "S", "j", "1"));
    EXPECT_EQ(Read("S", "j"), "1");
    EXPECT_EQ(Read("S", "k").size(), 10u * 1024 * 1024);
}

TEST_F(IniTest, OversizedFileIsNeitherHalfReadNorRewrittenAndTellsItsSize) {
    // k's value runs over the bound: read in part it would be a value cut short.
    const std::string head = "[S]\r\nj=1\r\nk=";
    const struct {
        std::size_t size;
        bool tooLarge;
    } cases[] = {{kIniMaxBytes, false}, {kIniMaxBytes + 1, true}, {kIniMaxBytes + 4096, true}};
    for (const auto& c : cases) {
        std::string file = head;
        file.resize(c.size, '7');
        Spill(path, file);
        EXPECT_EQ(Read("S", "j"), c.tooLarge ? "" : "1") << c.size;
        EXPECT_EQ(Read("S", "k").size(), c.tooLarge ? 0 : c.size - head.size()) << c.size;
        EXPECT_EQ(IniTooLarge(path), c.tooLarge ? std::optional<std::uint64_t>(c.size) : std::nullopt);
        SettingsStore store(path, "");
        SettingsBatch batch(store);
        batch.WriteString("S", "j", "2");
        EXPECT_EQ(batch.Commit(), !c.tooLarge) << c.size;
        if (!c.tooLarge) continue;
        EXPECT_EQ(batch.Failed(), SettingsBatch::Failure::kFileTooLarge);
        EXPECT_EQ(batch.FileSize(), c.size);
        EXPECT_EQ(Slurp(path), file);  // nothing lost
    }
    EXPECT_EQ(IniTooLarge(dir / "none.ini"), std::nullopt);
}

TEST_F(IniTest, PathThatIsAFolderIsNotReplaced) {
    std::filesystem::create_directories(path);
    EXPECT_FALSE(IniWrite(path, "S", "k", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

// --- failed saves --------------------------------------------------------------------------

TEST_F(IniTest, FullDiskLeavesTheOldFileWholeAndReadable) {
    Spill(path, "[S]\r\nk=old\r\n");
    const std::string before = Slurp(path);
    {
        test::DiskFull full;
        EXPECT_FALSE(IniWrite(path, "S", "k", "new"));
        EXPECT_FALSE(IniWriteMany(path, {{"S", "k", "new"}, {"T", "x", "1"}}));
        EXPECT_FALSE(IniWrite(dir / "Set/Other.ini", "S", "k", "1"));
    }
    EXPECT_EQ(Slurp(path), before);
    EXPECT_EQ(Read("S", "k"), "old");
    EXPECT_FALSE(std::filesystem::exists(dir / "Set/Other.ini"));
    // No temporary file is left behind.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / "Set")) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(IniTest, ReadOnlyFolderKeepsTheOldFile) {
    Spill(path, "[S]\r\nk=old\r\n");
    if (!test::PermissionsBind(dir.Path()))
        GTEST_SKIP() << "this user writes into read-only folders (root)";
    ::chmod((dir / "Set").c_str(), 0500);
    EXPECT_FALSE(IniWrite(path, "S", "k", "new"));
    ::chmod((dir / "Set").c_str(), 0700);
    EXPECT_EQ(Read("S", "k"), "old");
}

TEST_F(IniTest, FolderThatCannotBeCreatedFailsTheWrite) {
    // A file where the folder should be stops even a privileged user.
    Spill(dir / "Set", "not a folder");
    EXPECT_FALSE(IniWrite(path, "S", "k", "1"));
    EXPECT_EQ(Slurp(dir / "Set"), "not a folder");
}

// --- the parsed file kept in memory ----------------------------------------------------------

// Sets the modification time of path to t seconds (an edit by hand within the same second).
void SetMtime(const std::string& path, long t) {
    const struct timespec times[2] = {{t, 0}, {t, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(IniTest, ManyReadsOfAnUnchangedFileParseItOnce) {
    Spill(path, "[S]\r\nk=1\r\n[T]\r\nk=2\r\n");
    const std::size_t before = IniParseCount();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(Read("S", "k"), "1");
        EXPECT_EQ(Read("t", "K"), "2");
        EXPECT_EQ(Read("S", "missing"), "");
    }
    EXPECT_EQ(IniSections(path), (std::vector<std::string>{"S", "T"}));
    EXPECT_EQ(IniParseCount() - before, 1u);
}

TEST_F(IniTest, ChangesOnDiskAreSeenAtTheNextRead) {
    struct Edit {
        const char* name;
        std::function<void(const std::string&)> apply;
        const char* expected;
    };
    const std::vector<Edit> edits = {
        {"longer text in place", [](const std::string& p) { Spill(p, "[S]\r\nk=22\r\n"); }, "22"},
        {"same size, other time",
         [](const std::string& p) {
             Spill(p, "[S]\r\nk=33\r\n");
             SetMtime(p, 1000);
         },
         "33"},
        {"same size and time, new file",
         [](const std::string& p) {
             Spill(p + ".tmp", "[S]\r\nk=44\r\n");
             SetMtime(p + ".tmp", 1000);
             std::filesystem::rename(p + ".tmp", p);
         },
         "44"},
        {"removed", [](const std::string& p) { std::filesystem::remove(p); }, ""},
        {"written again", [](const std::string& p) { Spill(p, "[S]\r\nk=5\r\n"); }, "5"},
    };
    Spill(path, "[S]\r\nk=1\r\n");
    SetMtime(path, 1000);
    EXPECT_EQ(Read("S", "k"), "1");
    for (const Edit& e : edits) {
        e.apply(path);
        EXPECT_EQ(Read("S", "k"), e.expected) << e.name;
    }
}

TEST_F(IniTest, OwnSaveNeedsNoFurtherParse) {
    Spill(path, "[S]\r\nk=1\r\n");
    ASSERT_TRUE(IniWrite(path, "S", "k", "2"));
    const std::size_t before = IniParseCount();
    EXPECT_EQ(Read("S", "k"), "2");
    EXPECT_EQ(IniParseCount(), before);
}

TEST_F(IniTest, KeptFileAnswersAsTheFileReaderDid) {
    // Only the first section of a name and the first key of a name count; keys before any
    // section belong to none.
    Spill(path, "k=0\r\n[S]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\nj=4\r\n[T]\r\nempty=\r\n");
    EXPECT_EQ(Read("S", "k"), "1");
    EXPECT_EQ(Read("S", "j"), "");
    std::string v = "x";
    EXPECT_FALSE(IniRead(path, "T", "empty", v));
    EXPECT_EQ(v, "");
}

}  // namespace
}  // namespace pw
