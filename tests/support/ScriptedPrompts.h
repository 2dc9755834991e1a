// A stand-in for every prompt of the program: answers from a script, records what was shown.
// Installed for its lifetime.
#pragma once

#include "app/Prompts.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class ScriptedPrompts final : public PromptSeam {
public:
    struct ShownBox {
        Box kind;
        QString caption;
        QString text;
    };
    struct ShownFileDialog {
        bool save;
        FileDialogSettings settings;
    };

    ScriptedPrompts();
    ~ScriptedPrompts() override;

    // Answers, taken in order; when a queue is empty a question is answered No, an input box
    // and a file dialog are cancelled.
    std::deque<bool> questionAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> fileAnswers;

    // Runs while a box is up, as a user acting during a modal box would.
    std::function<void(const ShownBox&)> whileBoxShown;

    QList<ShownBox> boxes;
    QStringList inputCaptions;
    QList<ShownFileDialog> fileDialogs;
    int beeps = 0;

    QStringList boxTexts() const;
    QStringList errorTexts() const;
    void clear();

    bool showBox(Box kind, const QString& caption, const QString& text) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;
    std::optional<QString> openFileName(const FileDialogSettings& dialog) override;
    std::optional<QString> saveFileName(const FileDialogSettings& dialog) override;
    void beep() override;

private:
    std::optional<QString> nextFile(bool save, const FileDialogSettings& dialog);
};
