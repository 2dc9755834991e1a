#include "app/Unitx.h"

void InfoBox(const QString& text)
{
    prompts().showBox(PromptSeam::Box::Information, QStringLiteral("Information"), text);
}

void ErrorBox(const QString& text)
{
    prompts().showBox(PromptSeam::Box::Error, QStringLiteral("Error"), text);
}

bool QuestionBox(const QString& text)
{
    return prompts().showBox(PromptSeam::Box::Question, QStringLiteral("Question"), text);
}

void showDefaultError(const QString& message)
{
    prompts().showBox(PromptSeam::Box::Error, QStringLiteral("Vantorel"), message);
}
