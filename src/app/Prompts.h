// The one seam through which the program asks or tells the user anything: message boxes,
// the input box, the file dialogs and the beep. The program installs the Qt dialogs; tests
// install a scripted stand-in that answers and records.
#pragma once

#include <QString>

#include <optional>

// The settings of a file open/save dialog component (`sd`, `od`).
struct FileDialogSettings {
    QString title;
    QString filter;        // pairs "description|pattern|...", e.g. "*.log|*.log|*.*|*.*"
    QString defaultExt;    // ".log"
    QString initialDir;
    bool overwritePrompt = false;
    bool hideReadOnly = false;
    bool pathMustExist = false;
    bool fileMustExist = false;
    bool resizable = true;
};

class PromptSeam {
public:
    enum class Box { Information, Error, Question };

    virtual ~PromptSeam() = default;

    // Modal and on top of other windows. Returns true for OK or Yes.
    virtual bool showBox(Box kind, const QString& caption, const QString& text) = 0;

    // The text the user confirmed, or nothing when the box was cancelled.
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                            const QString& initial) = 0;

    // The chosen file, or nothing when the dialog was cancelled.
    virtual std::optional<QString> openFileName(const FileDialogSettings& dialog) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogSettings& dialog) = 0;

    virtual void beep() = 0;
};

// The installed seam. Until one is installed every prompt is answered with Cancel/No.
PromptSeam& prompts();

// Installs `seam` (not owned); nullptr restores the silent default.
void installPrompts(PromptSeam* seam);
