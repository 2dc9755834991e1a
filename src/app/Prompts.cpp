#include "app/Prompts.h"

#include <QDebug>

namespace {

// Answers everything with Cancel/No, so that nothing can block on a prompt nobody installed.
class SilentPrompts final : public PromptSeam {
public:
    bool showBox(Box, const QString& caption, const QString& text) override
    {
        qWarning().noquote() << "unanswered box:" << caption << text;
        return false;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileName(const FileDialogSettings&) override { return {}; }
    std::optional<QString> saveFileName(const FileDialogSettings&) override { return {}; }
    void beep() override {}
};

SilentPrompts silentPrompts;
PromptSeam* installed = &silentPrompts;

} // namespace

PromptSeam& prompts()
{
    return *installed;
}

void installPrompts(PromptSeam* seam)
{
    installed = seam ? seam : &silentPrompts;
}
