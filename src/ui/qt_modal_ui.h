#pragma once
// The modal UI on Qt Widgets: message boxes, questions, prompts and file dialogs, each
// owned by the active window.
#include <functional>
#include <optional>
#include <string>

#include "ui/base/modal_ui.h"

class QWidget;

namespace pw {

// A prompt that returns the entered text, or nullopt when cancelled.
using TextPrompt = std::function<std::optional<std::string>(QWidget* parent)>;
// A prompt for a number (caption, label, initial value), or nullopt when cancelled.
using NumberPrompt = std::function<std::optional<int>(QWidget* parent, const std::string& caption,
                                                      const std::string& label, int value)>;

// Stand-ins until the program's own prompt dialogs are installed: a masked single-line input
// titled "Password" and a multi-line input titled "Master-key".
std::optional<std::string> FallbackPasswordPrompt(QWidget* parent);
std::optional<std::string> FallbackMasterKeyPrompt(QWidget* parent);

class QtModalUi : public ModalUi {
public:
    QtModalUi();

    // Replaces the dialogs behind PromptPassword / PromptMasterKey.
    void SetPasswordPrompt(TextPrompt prompt) { passwordPrompt_ = std::move(prompt); }
    void SetMasterKeyPrompt(TextPrompt prompt) { masterKeyPrompt_ = std::move(prompt); }
    // Replaces the dialog behind PromptNumber (default: a plain integer input).
    void SetNumberPrompt(NumberPrompt prompt) { numberPrompt_ = std::move(prompt); }

    void Message(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> PromptPassword() override;
    std::optional<std::string> PromptMasterKey() override;
    std::optional<int> PromptNumber(const std::string& caption, const std::string& label,
                                    int value) override;
    std::optional<std::string> OpenFileName(const std::string& title, const std::string& dir,
                                            const std::string& filter) override;
    std::optional<std::string> SaveFileName(const std::string& title,
                                            const std::string& suggested,
                                            const std::string& filter) override;

    // The window that owns the next dialog: the active modal dialog, else the active window.
    static QWidget* DialogParent();

private:
    TextPrompt passwordPrompt_;
    TextPrompt masterKeyPrompt_;
    NumberPrompt numberPrompt_;
};

}  // namespace pw
