#pragma once
// Scripted seams for tests: a modal UI that records every message and returns prepared
// answers, and a clock that is moved by hand and fires the timers that fall due.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/base/clock.h"
#include "ui/base/modal_ui.h"

namespace pw {

class ScriptedUi : public ModalUi {
public:
    std::vector<std::string> messages;   // every Message and AskYesNo text, in order
    std::deque<bool> yesNo;               // answers; empty: No
    std::deque<std::optional<std::string>> passwords;   // empty: cancelled
    std::deque<std::optional<std::string>> masterKeys;  // empty: cancelled
    std::deque<std::optional<int>> numbers;
    std::deque<std::optional<std::string>> openNames, saveNames;
    std::vector<std::string> saveSuggested;  // the proposed name of every SaveFileName
    int passwordPrompts = 0, masterKeyPrompts = 0;

    void Message(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        messages.push_back(text);
        return Pop(yesNo, false);
    }
    std::optional<std::string> PromptPassword() override {
        ++passwordPrompts;
        return Pop(passwords, std::optional<std::string>());
    }
    std::optional<std::string> PromptMasterKey() override {
        ++masterKeyPrompts;
        return Pop(masterKeys, std::optional<std::string>());
    }
    std::optional<int> PromptNumber(const std::string&, const std::string&, int) override {
        return Pop(numbers, std::optional<int>());
    }
    std::optional<std::string> OpenFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return Pop(openNames, std::optional<std::string>());
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string& suggested,
                                            const std::string&) override {
        saveSuggested.push_back(suggested);
        return Pop(saveNames, std::optional<std::string>());
    }

private:
    template <class T>
    static T Pop(std::deque<T>& q, T fallback) {
        if (q.empty()) return fallback;
        T v = q.front();
        q.pop_front();
        return v;
    }
};

class ManualClock : public Clock {
public:
    explicit ManualClock(std::time_t start) : now_(start) {}
    std::time_t Now() const override { return now_; }
    void Set(std::time_t t) { now_ = t; }

    // Moves the clock forward and fires every timer whose period elapsed, as often as it did.
    void Advance(int seconds);

    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) override;

private:
    struct State;
    std::time_t now_;
    std::vector<State*> timers_;
    friend class ManualTimer;
};

}  // namespace pw
