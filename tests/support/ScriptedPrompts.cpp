#include "ScriptedPrompts.h"

namespace {

std::optional<QString> takeAnswer(std::deque<std::optional<QString>>& answers)
{
    std::optional<QString> answer;
    if (!answers.empty()) {
        answer.swap(answers.front());
        answers.pop_front();
    }
    return answer;
}

} // namespace

ScriptedPrompts::ScriptedPrompts()
{
    installPrompts(this);
}

ScriptedPrompts::~ScriptedPrompts()
{
    installPrompts(nullptr);
}

QStringList ScriptedPrompts::boxTexts() const
{
    QStringList texts;
    for (const ShownBox& box : boxes)
        texts << box.text;
    return texts;
}

QStringList ScriptedPrompts::errorTexts() const
{
    QStringList texts;
    for (const ShownBox& box : boxes) {
        if (box.kind == Box::Error)
            texts << box.text;
    }
    return texts;
}

void ScriptedPrompts::clear()
{
    boxes.clear();
    inputCaptions.clear();
    fileDialogs.clear();
    beeps = 0;
}

bool ScriptedPrompts::showBox(Box kind, const QString& caption, const QString& text)
{
    boxes.append({kind, caption, text});
    if (whileBoxShown)
        whileBoxShown(boxes.constLast());
    if (kind != Box::Question)
        return true;
    if (questionAnswers.empty())
        return false;
    const bool yes = questionAnswers.front();
    questionAnswers.pop_front();
    return yes;
}

std::optional<QString> ScriptedPrompts::inputBox(const QString& caption, const QString&, const QString&)
{
    inputCaptions << caption;
    return takeAnswer(inputAnswers);
}

std::optional<QString> ScriptedPrompts::openFileName(const FileDialogSettings& dialog)
{
    return nextFile(false, dialog);
}

std::optional<QString> ScriptedPrompts::saveFileName(const FileDialogSettings& dialog)
{
    return nextFile(true, dialog);
}

std::optional<QString> ScriptedPrompts::nextFile(bool save, const FileDialogSettings& dialog)
{
    fileDialogs.append({save, dialog});
    return takeAnswer(fileAnswers);
}

void ScriptedPrompts::beep()
{
    ++beeps;
}
