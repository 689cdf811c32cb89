#pragma once
// The modal user interface as the program's logic sees it: message boxes, questions,
// prompts and file names. The Qt implementation shows dialogs; tests script the answers.
#include <optional>
#include <string>

namespace pw {

class ModalUi {
public:
    virtual ~ModalUi() = default;
    // A plain message box with an OK button.
    virtual void Message(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // The "Password" prompt; nullopt when cancelled.
    virtual std::optional<std::string> PromptPassword() = 0;
    // The "Master-key" prompt; nullopt when cancelled.
    virtual std::optional<std::string> PromptMasterKey() = 0;
    // A number prompt (the auto-refresh dialog): caption, label, initial value; nullopt
    // when cancelled. The validation loop belongs to the caller.
    virtual std::optional<int> PromptNumber(const std::string& caption, const std::string& label,
                                            int value) = 0;
    // File dialogs; nullopt when cancelled. filter as "CSV files (*.csv)", empty for none.
    // SaveFileName asks before it lets an existing file be replaced (No keeps the dialog
    // open) and adds no extension; suggested may be a full path or a bare name (the dialog
    // then starts in the current folder).
    virtual std::optional<std::string> OpenFileName(const std::string& title,
                                                    const std::string& dir,
                                                    const std::string& filter) = 0;
    virtual std::optional<std::string> SaveFileName(const std::string& title,
                                                    const std::string& suggested,
                                                    const std::string& filter) = 0;
};

}  // namespace pw
