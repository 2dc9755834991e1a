// The program's real prompts: Qt's message boxes, input dialog, file dialogs and beep.
#pragma once

#include "app/Prompts.h"

class QtPrompts final : public PromptSeam {
public:
    bool showBox(Box kind, const QString& caption, const QString& text) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;
    std::optional<QString> openFileName(const FileDialogSettings& dialog) override;
    std::optional<QString> saveFileName(const FileDialogSettings& dialog) override;
    void beep() override;
};

// "*.log|*.log|*.*|*.*" as Qt's name filters: "*.log (*.log)", "*.* (*)".
QStringList qtNameFilters(const QString& filter);
