// Unitx: the helpers every window shares: the message boxes, the program paths, the
// single-byte text conversions, and the default handler for errors that end a handler.
#pragma once

#include "app/AppPaths.h"
#include "app/Prompts.h"
#include "app/SystemString.h"
#include "protocol/ByteFormat.h"

#include <QString>

#include <string>
#include <utility>

// Modal boxes on top of other windows, the text as the only argument.
void InfoBox(const QString& text);     // caption "Information", OK
void ErrorBox(const QString& text);    // caption "Error", OK
bool QuestionBox(const QString& text); // caption "Question", Yes/No; true on Yes

// Text is single-byte in the system code page, taken here as Latin-1.
inline QString fromAnsi(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toAnsi(const QString& text)
{
    return text.toLatin1().toStdString();
}


// Shows the message of an error that escaped a handler; the program carries on.
void showDefaultError(const QString& message);

// Runs a handler so that an error escaping it reaches the default handler instead of
// unwinding through Qt's event loop.
template <typename Handler>
void runHandler(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        showDefaultError(fromAnsi(error.what()));
    }
}
