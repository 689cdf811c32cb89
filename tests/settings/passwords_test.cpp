#include "settings/passwords.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "crypto/cipher.h"
#include "settings/keys.h"
#include "settings/migration.h"
#include "settings_test_util.h"
#include "ui/base/fake_seams.h"
#include "ui/base/strings.h"

namespace pw {
namespace {

using test::Slurp;
using test::Spill;

// A profile of the earlier version that holds nothing.
struct EmptyProfile : LegacyProfile {
    bool ReadString(const std::string&, std::string&) const override { return false; }
    bool ReadInt(const std::string&, int&) const override { return false; }
};

std::string Unhex(const std::string& hex) {
    if (hex == "-") return std::string();
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

// The key file contents of the vector file, by run and payment password.
std::map<std::pair<std::string, std::string>, std::string> KeyFileVectors() {
    std::map<std::pair<std::string, std::string>, std::string> out;
    std::ifstream in(PW_TEST_DATA_DIR "/cryptoapi-vectors.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind, run, pay, key;
        if (words >> kind >> run >> pay >> key && kind == "masterkey")
            out[{Unhex(run), Unhex(pay)}] = key;
    }
    return out;
}

class PasswordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RunFirstRunMigration(settings, keyFile, EmptyProfile(), "01/01/2024"));
    }

    // A fresh start: new store, new passwords object, as the program does at start-up.
    bool Start(ScriptedUi& startUi) {
        store = SettingsStore(settings, "");
        Passwords p(store, startUi, "", dir.Path());
        const bool ok = p.StartupCheck();
        if (ok) passwords.SetStoredPass2(p.StoredPass2());
        return ok;
    }
    bool StartWith(const std::optional<std::string>& typed, ScriptedUi* used = nullptr) {
        ScriptedUi local;
        ScriptedUi& u = used ? *used : local;
        u.passwords.push_back(typed);
        return Start(u);
    }
    std::string Raw(const char* section, const char* key) { return store.GetString(section, key); }
    std::string Enc(const std::string& plain, const std::string& key) {
        std::string out;
        Encipher(plain, key, out);
        return out;
    }

    test::ScratchDir dir;
    std::string settings = dir / "Set/Purseward.ini";
    std::string keyFile = dir / "Set/Purseward.key";
    SettingsStore store{settings, ""};
    ScriptedUi ui;
    Passwords passwords{store, ui, "", dir.Path()};
};

TEST(KeyFile, PathFollowsTheProgramDirectory) {
    EXPECT_EQ(KeyFilePath("/opt/pw/", "/home/u/"), "/opt/pw/Set/Purseward.key");
    EXPECT_EQ(KeyFilePath("", "/home/u/"), "/home/u/Set/Purseward.key");
    EXPECT_EQ(KeyFilePath("/opt/pw", ""), "/opt/pw/Set/Purseward.key");
}

TEST(KeyFile, MasterKeyMatchesTheVectors) {
    const auto vectors = KeyFileVectors();
    ASSERT_GE(vectors.size(), 2u);
    for (const auto& [pw, key] : vectors) EXPECT_EQ(MasterKey(pw.first, pw.second), key);
    EXPECT_EQ(MasterKeyText("", "").size(), 149u);
    EXPECT_EQ(MasterKey("run", "pay").size(), 304u);
    EXPECT_EQ(CheckValue("", ""), "B72883A31A032FC5783698B870550655");
}

// --- start-up check ------------------------------------------------------------------------

TEST_F(PasswordsTest, FirstRunFilePassesWithoutPrompt) {
    EXPECT_TRUE(Start(ui));
    EXPECT_EQ(ui.passwordPrompts, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(store.UnlockPassword(), "");
    EXPECT_EQ(passwords.StoredPass2(), "");
}

TEST_F(PasswordsTest, PaymentPasswordAlone) {
    ASSERT_TRUE(passwords.ChangePasswords("", "", "", "pay"));
    EXPECT_EQ(Raw("Setting", "Pass1"), "");
    EXPECT_EQ(Raw("Setting", "Pass2"), Enc("pay", " "));
    EXPECT_EQ(Raw("Setting", "Check"), Enc("Purseward", "~pay"));

    ScriptedUi next;
    EXPECT_TRUE(Start(next));
    EXPECT_EQ(next.passwordPrompts, 0);
    EXPECT_TRUE(next.messages.empty());
    EXPECT_EQ(passwords.StoredPass2(), Enc("pay", " "));
}

TEST_F(PasswordsTest, RunPasswordIsAskedAndBecomesTheUnlockPassword) {
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", "pay"));
    EXPECT_EQ(Raw("Setting", "Pass1"), PasswordHash("run"));
    EXPECT_EQ(Slurp(keyFile), (KeyFileVectors()[{"run", "pay"}]));

    ScriptedUi next;
    ASSERT_TRUE(StartWith(std::string("run"), &next));
    EXPECT_EQ(next.passwordPrompts, 1);
    EXPECT_TRUE(next.messages.empty());
    EXPECT_EQ(store.UnlockPassword(), "run");
    EXPECT_EQ(passwords.StoredPass2(), Raw("Setting", "Pass2"));
}

TEST_F(PasswordsTest, WrongOrCancelledRunPasswordEndsTheStart) {
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", ""));
    for (const std::optional<std::string>& typed :
         {std::optional<std::string>("Run"), std::optional<std::string>(""),
          std::optional<std::string>()}) {
        ScriptedUi next;
        EXPECT_FALSE(StartWith(typed, &next));
        ASSERT_EQ(next.messages.size(), 1u);
        EXPECT_EQ(next.messages[0], Str(151));
        EXPECT_EQ(next.messages[0], "Wrong Password or Setting's file is corrupted.");
        EXPECT_EQ(store.UnlockPassword(), "");
    }
}

TEST_F(PasswordsTest, TamperedEntriesFailEvenWithTheRightPassword) {
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", "pay"));
    const std::string pass1 = Raw("Setting", "Pass1"), pass2 = Raw("Setting", "Pass2"),
                      check = Raw("Setting", "Check");
    struct Case {
        const char* key;
        std::string value;
    };
    const Case cases[] = {
        {"Pass1", PasswordHash("other")},
        {"Pass1", (pass1[0] == '0' ? "1" : "0") + pass1.substr(1)},  // one digit changed
        {"Pass2", Enc("other", "run")},        // exchanged payment password
        {"Pass2", "00112233445566778899AABB"},  // does not decipher
        {"Pass2", ""},
        {"Check", Enc("Purseward", "run~")},
        {"Check", ""},
    };
    for (const Case& c : cases) {
        store.WriteString("Setting", "Pass1", pass1);
        store.WriteString("Setting", "Pass2", pass2);
        store.WriteString("Setting", "Check", check);
        store.WriteString("Setting", c.key, c.value);
        ScriptedUi next;
        EXPECT_FALSE(StartWith(std::string("run"), &next)) << c.key << "=" << c.value;
        EXPECT_EQ(next.messages, std::vector<std::string>{Str(151)});
    }
}

TEST_F(PasswordsTest, HandEditedPass1WithoutRunPassword) {
    store.WriteString("Setting", "Pass1", PasswordHash("guess"));
    ScriptedUi next;
    EXPECT_FALSE(StartWith(std::string("guess"), &next));  // Check still belongs to no password
    EXPECT_EQ(next.messages, std::vector<std::string>{Str(151)});
}

// --- payment check -------------------------------------------------------------------------

TEST_F(PasswordsTest, NoPaymentPasswordNeedsNoPrompt) {
    ASSERT_TRUE(Start(ui));
    EXPECT_TRUE(passwords.PaymentCheck());
    EXPECT_EQ(ui.passwordPrompts, 0);
}

TEST_F(PasswordsTest, PaymentPasswordRightWrongOrCancelled) {
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", "pay"));
    ASSERT_TRUE(StartWith(std::string("run")));
    ui.messages.clear();  // the change's own message
    ui.passwords = {std::string("pay"), std::string("PAY"), std::string(""), std::nullopt};
    EXPECT_TRUE(passwords.PaymentCheck());
    EXPECT_FALSE(passwords.PaymentCheck());
    EXPECT_FALSE(passwords.PaymentCheck());
    EXPECT_FALSE(passwords.PaymentCheck());
    EXPECT_EQ(ui.passwordPrompts, 4);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PasswordsTest, PaymentCheckFollowsAChange) {
    ASSERT_TRUE(passwords.ChangePasswords("", "", "", "first"));
    ui.passwords = {std::string("first")};
    EXPECT_TRUE(passwords.PaymentCheck());
    ASSERT_TRUE(passwords.ChangePasswords("", "first", "run", "second"));
    ui.passwords = {std::string("first"), std::string("second")};
    EXPECT_FALSE(passwords.PaymentCheck());
    EXPECT_TRUE(passwords.PaymentCheck());
    ASSERT_TRUE(passwords.ChangePasswords("run", "second", "run", ""));
    EXPECT_TRUE(passwords.PaymentCheck());
    EXPECT_EQ(Raw("Setting", "Pass2"), "");
}

// --- password change -----------------------------------------------------------------------

TEST_F(PasswordsTest, ChangeShowsWhereTheNewMasterKeyWent) {
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", ""));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], Str(150) + keyFile);
    EXPECT_EQ(ui.messages[0].rfind("New Master-Key was created and saved to ", 0), 0u);
    EXPECT_EQ(store.UnlockPassword(), "run");
    EXPECT_EQ(Slurp(keyFile), MasterKey("run", ""));
    EXPECT_EQ(test::ModeOf(keyFile), 0600u);
    EXPECT_FALSE(std::filesystem::exists(keyFile + ".new"));
}

TEST_F(PasswordsTest, KeyFileBelowTheProgramDirectory) {
    const std::string programDir = dir / "prog/";
    Spill(programDir + "Set/Purseward.key", MasterKey("", ""));
    passwords.SetProgramDir(programDir);
    std::filesystem::remove(keyFile);  // the one below the base directory is not looked at
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", ""));
    EXPECT_EQ(Slurp(programDir + "Set/Purseward.key"), MasterKey("run", ""));
    EXPECT_EQ(ui.masterKeyPrompts, 0);
    EXPECT_EQ(ui.messages.back(), Str(150) + programDir + "Set/Purseward.key");
}

TEST_F(PasswordsTest, EveryCredentialStillDeciphersAfterChanges) {
    // One distinct value in every credential key of every system, a long one, an empty one.
    std::map<std::pair<std::string, std::string>, std::string> values;
    for (int i = 0; i < 6; ++i)
        for (const std::string& key : keys::CredentialKeys(i)) {
            std::string v = std::string(keys::kPrefixes[i]) + "/" + key + "~second";
            if (key == "LRAccount") v = std::string(300, 'L');
            if (key == "EGPass") v.clear();
            values[{keys::kPrefixes[i], key}] = v;
            store.WriteSecret(keys::kPrefixes[i], key, v);
        }
    store.WriteSecret("Setting", "ProxyPass", "proxy-pw");
    store.WriteString("LR", "FilterBatch", "plain stays plain");

    ASSERT_TRUE(passwords.ChangePasswords("", "", "run1", "pay1"));
    ASSERT_TRUE(passwords.ChangePasswords("run1", "pay1", "run2", ""));
    ScriptedUi next;
    ASSERT_TRUE(StartWith(std::string("run2"), &next));
    for (const auto& [where, v] : values) {
        EXPECT_EQ(store.GetSecret(where.first, where.second), v) << where.second;
        if (v.empty()) {
            EXPECT_EQ(Raw(where.first.c_str(), where.second.c_str()), "");
        }
    }
    EXPECT_EQ(store.GetSecret("Setting", "ProxyPass"), "proxy-pw");
    EXPECT_EQ(store.GetString("LR", "FilterBatch"), "plain stays plain");
}

TEST_F(PasswordsTest, UndecipherableCredentialIsLeftAsItIs) {
    store.WriteString("PM", "PMPass", "0011223344556677");
    store.WriteSecret("PM", "PMSave", "true");
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", ""));
    EXPECT_EQ(Raw("PM", "PMPass"), "0011223344556677");
    EXPECT_EQ(store.GetSecret("PM", "PMSave"), "true");
}

TEST_F(PasswordsTest, DeletedKeyFileAsksForTheMasterKey) {
    const std::string oldKey = Slurp(keyFile);
    std::filesystem::remove(keyFile);
    const std::string before = Slurp(settings);

    // Cancelled, or anything but the old content: dropped without a word.
    ui.masterKeys = {std::nullopt, std::string("not the key"), MasterKey("x", "")};
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(passwords.ChangePasswords("", "", "run", ""));
    EXPECT_EQ(ui.masterKeyPrompts, 3);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Slurp(settings), before);
    EXPECT_EQ(store.UnlockPassword(), "");
    EXPECT_FALSE(std::filesystem::exists(keyFile));

    // The old file's content (pasted with a line end) lets the change through.
    ui.masterKeys = {oldKey + "\n"};
    EXPECT_TRUE(passwords.ChangePasswords("", "", "run", ""));
    EXPECT_EQ(Slurp(keyFile), MasterKey("run", ""));
    EXPECT_EQ(store.UnlockPassword(), "run");
}

TEST_F(PasswordsTest, OverlongKeyFileIsToldAndNotReadNorLost) {
    const std::string key = Slurp(keyFile);
    const struct {
        std::size_t padding;  // blanks after the key
        bool tooLarge;
    } cases[] = {{64 * 1024 - key.size(), false}, {64 * 1024 - key.size() + 1, true}};
    for (const auto& c : cases) {
        const std::string file = key + std::string(c.padding, ' ');
        Spill(keyFile, file);
        ui.messages.clear();
        ui.masterKeyPrompts = 0;
        ui.masterKeys = {std::nullopt};  // the prompt cancelled: nothing changes
        EXPECT_EQ(passwords.ChangePasswords("", "", "run", ""), !c.tooLarge);
        EXPECT_EQ(ui.masterKeyPrompts, c.tooLarge ? 1 : 0);
        if (!c.tooLarge) {
            for (const std::string& m : ui.messages) EXPECT_EQ(m.find("bytes long"), std::string::npos) << m;
            ASSERT_TRUE(passwords.ChangePasswords("run", "", "", ""));  // back for the next case
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find(keyFile + " is " + std::to_string(file.size()) + " bytes long"),
                  std::string::npos) << ui.messages[0];
        EXPECT_EQ(Slurp(keyFile), file);
        EXPECT_EQ(store.UnlockPassword(), "");
    }
}

TEST_F(PasswordsTest, ForeignKeyFileDropsTheChangeWithoutPrompt) {
    Spill(keyFile, MasterKey("someone", "else"));
    const std::string before = Slurp(settings);
    EXPECT_FALSE(passwords.ChangePasswords("", "", "run", ""));
    EXPECT_EQ(ui.masterKeyPrompts, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Slurp(settings), before);
    // Old passwords other than the current ones are refused as well.
    Spill(keyFile, MasterKey("", ""));
    EXPECT_FALSE(passwords.ChangePasswords("guess", "", "run", ""));
    EXPECT_EQ(Slurp(settings), before);
}

TEST_F(PasswordsTest, FailedSaveChangesNothing) {
    store.WriteSecret("LR", "LRPass", "lr-secret");
    const std::string before = Slurp(settings), keyBefore = Slurp(keyFile);

    // The first save (the new key file) works, the settings save fails.
    int saves = 0;
    SetWriteFunctionForTest([&](int fd, const char* data, std::size_t size) -> long {
        if (++saves > 1) {
            errno = ENOSPC;
            return -1;
        }
        return static_cast<long>(::write(fd, data, size));
    });
    const bool changed = passwords.ChangePasswords("", "", "run", "pay");
    SetWriteFunctionForTest(WriteFunction());
    EXPECT_FALSE(changed);
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(Slurp(settings), before);
    EXPECT_EQ(Slurp(keyFile), keyBefore);
    EXPECT_FALSE(std::filesystem::exists(keyFile + ".new"));
    EXPECT_EQ(store.UnlockPassword(), "");
    EXPECT_EQ(passwords.StoredPass2(), "");

    // Nothing can be saved at all.
    {
        test::DiskFull full;
        EXPECT_FALSE(passwords.ChangePasswords("", "", "run", "pay"));
    }
    EXPECT_EQ(Slurp(settings), before);
    EXPECT_EQ(Slurp(keyFile), keyBefore);

    // The file is still usable and the change goes through afterwards.
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", "pay"));
    EXPECT_EQ(store.GetSecret("LR", "LRPass"), "lr-secret");
}

// Whatever step fails, the user is told what failed and that the old passwords hold.
TEST_F(PasswordsTest, EveryFailedStepSaysSoAndChangesNothing) {
    store.WriteSecret("LR", "LRPass", "lr-secret");
    const std::string before = Slurp(settings), keyBefore = Slurp(keyFile);
    struct Case {
        const char* name;
        int failingWrite;  // 1: the new key file, 2: the settings; 0: none
        std::string newPay;
        const char* says;
    };
    const Case cases[] = {
        {"settings not saved", 2, "pay", "the settings file"},
        {"key file not written", 1, "pay", "the key file"},
        {"payment password too long", 0, std::string(kMaxPlainBytes + 1, 'p'), "too long"},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        int saves = 0;
        SetWriteFunctionForTest([&](int fd, const char* data, std::size_t size) -> long {
            if (++saves == c.failingWrite) {
                errno = ENOSPC;
                return -1;
            }
            return static_cast<long>(::write(fd, data, size));
        });
        EXPECT_FALSE(passwords.ChangePasswords("", "", "run", c.newPay)) << c.name;
        SetWriteFunctionForTest(WriteFunction());
        EXPECT_EQ(Slurp(settings), before) << c.name;
        EXPECT_EQ(Slurp(keyFile), keyBefore) << c.name;
        EXPECT_FALSE(std::filesystem::exists(keyFile + ".new")) << c.name;
        EXPECT_EQ(store.UnlockPassword(), "") << c.name;
        ASSERT_EQ(ui.messages.size(), 1u) << c.name;
        EXPECT_NE(ui.messages[0].find(c.says), std::string::npos) << ui.messages[0];
        EXPECT_NE(ui.messages[0].find("old passwords still hold"), std::string::npos);
    }
}

TEST_F(PasswordsTest, PaymentPasswordTooLongToEncipherAbortsTheChange) {
    const std::string before = Slurp(settings);
    EXPECT_FALSE(passwords.ChangePasswords("", "", "run", std::string(kMaxPlainBytes + 1, 'p')));
    EXPECT_EQ(Slurp(settings), before);
    EXPECT_EQ(store.UnlockPassword(), "");
    EXPECT_FALSE(std::filesystem::exists(keyFile + ".new"));
}

TEST_F(PasswordsTest, InterruptedChangeIsRecoveredFromTheNewKeyFile) {
    const std::string firstKey = Slurp(keyFile);
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", ""));
    // The state after a stop between the settings save and the final rename: the settings
    // hold the new passwords, the old key file is still in place, the new one beside it.
    Spill(keyFile + ".new", Slurp(keyFile));
    Spill(keyFile, firstKey);

    ScriptedUi next;
    ASSERT_TRUE(StartWith(std::string("run"), &next));
    Passwords again(store, next, "", dir.Path());
    EXPECT_TRUE(again.ChangePasswords("run", "", "run2", ""));
    EXPECT_EQ(next.masterKeyPrompts, 0);
    EXPECT_EQ(Slurp(keyFile), MasterKey("run2", ""));
    EXPECT_FALSE(std::filesystem::exists(keyFile + ".new"));
}

TEST_F(PasswordsTest, LeftoverNewKeyFileOfOtherPasswordsIsNoProof) {
    std::filesystem::remove(keyFile);
    Spill(keyFile + ".new", MasterKey("abandoned", ""));
    EXPECT_FALSE(passwords.ChangePasswords("", "", "run", ""));  // prompt cancelled
    EXPECT_EQ(ui.masterKeyPrompts, 1);
    Spill(keyFile, MasterKey("other", ""));
    EXPECT_FALSE(passwords.ChangePasswords("", "", "run", ""));
    EXPECT_EQ(ui.masterKeyPrompts, 1);
    EXPECT_EQ(store.UnlockPassword(), "");
}

// --- changes stopped part-way ---------------------------------------------------------------

using Step = Passwords::ChangeStep;

// Runs a change from `from` to `to` in a child process that stops dead (no clean-up, as a
// crash or a kill would) once it reaches `stopAt`. The child starts as the program does.
void ChangeStoppedAt(const std::string& settings, const std::string& baseDir,
                     const std::string& from, const std::string& to, Step stopAt) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SettingsStore store(settings, "");
        ScriptedUi ui;
        ui.passwords.push_back(from);
        Passwords p(store, ui, "", baseDir);
        if (!p.StartupCheck()) ::_exit(3);
        p.SetStepHookForTest([stopAt](Step s) {
            if (s == stopAt) ::_exit(0);
        });
        p.ChangePasswords(from, from + "-pay", to, to + "-pay");
        ::_exit(4);  // the stop was never reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << from << " -> " << to;
}

TEST_F(PasswordsTest, TwoStoppedChangesInARowLeaveTheNextOneWorking) {
    const Step steps[] = {Step::kNewKeyWritten, Step::kSettingsSaved, Step::kKeyReplaced};
    for (const Step first : steps) {
        for (const Step second : steps) {
            SCOPED_TRACE(::testing::Message() << "stops at " << static_cast<int>(first) << ", "
                                              << static_cast<int>(second));
            // Fresh settings with run password "a", a saved credential, the matching key file.
            std::filesystem::remove_all(dir / "Set");
            ASSERT_TRUE(RunFirstRunMigration(settings, keyFile, EmptyProfile(), "01/01/2024"));
            store = SettingsStore(settings, "");
            store.WriteSecret("LR", "LRPass", "secret-word");
            {
                Passwords p(store, ui, "", dir.Path());
                ASSERT_TRUE(p.ChangePasswords("", "", "a", "a-pay"));
            }
            // Which passwords hold after a stop depends on whether the settings were saved.
            std::string current = "a";
            int next = 0;
            for (const Step stop : {first, second}) {
                const std::string to = std::string("b") + std::to_string(next++);
                ChangeStoppedAt(settings, dir.Path(), current, to, stop);
                if (stop != Step::kNewKeyWritten) current = to;
            }
            ScriptedUi startUi;
            startUi.passwords.push_back(current);
            store = SettingsStore(settings, "");
            Passwords p(store, startUi, "", dir.Path());
            ASSERT_TRUE(p.StartupCheck());
            EXPECT_EQ(Slurp(keyFile), MasterKey(current, current + "-pay"));
            EXPECT_FALSE(std::filesystem::exists(keyFile + ".new"));

            ASSERT_TRUE(p.ChangePasswords(current, current + "-pay", "z", "z-pay"));
            EXPECT_EQ(startUi.masterKeyPrompts, 0);
            EXPECT_EQ(Slurp(keyFile), MasterKey("z", "z-pay"));
            EXPECT_EQ(store.GetSecret("LR", "LRPass"), "secret-word");
        }
    }
}

TEST_F(PasswordsTest, LeftoverNewKeyFileIsSettledBeforeAChange) {
    struct Case {
        const char* name;
        std::string key, newKey;  // "" : no file
        bool changes;             // the change from "" / "" goes through
        std::string keyAfterStart;
    };
    const std::string current = MasterKey("", "");
    const std::string other = MasterKey("old", "");
    const std::vector<Case> cases = {
        {"settings saved, rename missed", other, current, true, current},
        {"stopped before the settings save", current, other, true, current},
        {"copy of the valid key", current, current, true, current},
        {"key file gone, .new holds the proof", "", current, true, current},
        {"neither proves anything", other, MasterKey("x", ""), false, other},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(keyFile);
        if (!c.key.empty()) Spill(keyFile, c.key);
        Spill(keyFile + ".new", c.newKey);
        ScriptedUi startUi;
        store = SettingsStore(settings, "");
        Passwords p(store, startUi, "", dir.Path());
        ASSERT_TRUE(p.StartupCheck()) << c.name;
        EXPECT_EQ(Slurp(keyFile), c.keyAfterStart) << c.name;
        EXPECT_FALSE(std::filesystem::exists(keyFile + ".new")) << c.name;
        // The same before a change, when nothing ran at start.
        if (!c.key.empty()) Spill(keyFile, c.key);
        Spill(keyFile + ".new", c.newKey);
        EXPECT_EQ(p.ChangePasswords("", "", "", ""), c.changes) << c.name;
        EXPECT_EQ(startUi.masterKeyPrompts, 0) << c.name;
        EXPECT_FALSE(std::filesystem::exists(keyFile + ".new")) << c.name;
        if (c.changes) {
            EXPECT_EQ(Slurp(keyFile), current) << c.name;
        }
    }
}

TEST_F(PasswordsTest, NewKeyFileThatCannotBeSettledIsNeverOverwritten) {
    ASSERT_TRUE(passwords.ChangePasswords("", "", "run", ""));
    const std::string proof = Slurp(keyFile);
    // The only proof of the current passwords is the .new file, and it cannot be renamed
    // (the key file's place is taken by a folder).
    std::filesystem::remove(keyFile);
    std::filesystem::create_directories(keyFile + "/inside");
    Spill(keyFile + ".new", proof);
    EXPECT_FALSE(passwords.ChangePasswords("run", "", "run2", ""));
    EXPECT_EQ(Slurp(keyFile + ".new"), proof);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("Purseward.key.new"), std::string::npos);
}

}  // namespace
}  // namespace pw
