// The log pane and the "Log" menu: adding lines, time stamps, clearing, saving and the
// display mode the receive thread formats bytes in.
#include "ui/main/Unit1.h"

#include "app/Unitx.h"
#include "ui/main/LogFile.h"
#include "ui/main/LogView.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>

#include <stdexcept>

namespace {

// Trailing blanks and control characters (codes 0 to 32) of a line are not kept.
QString trimmedLogText(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).unicode() <= 32)
        --end;
    return text.left(end);
}

QString timeStampPrefix()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yy hh:mm:ss "));
}

} // namespace

void TForm1::AddLog(const QString& text)
{
    m->suspendRepaint();
    // Repainting resumes however the insert ends, an error of any kind included.
    const struct ResumeRepaint {
        LogView* log;
        ~ResumeRepaint() { log->resumeRepaint(); }
    } resume{m};
    try {
        const QString prefix = Showtimestamp1->isChecked() ? timeStampPrefix() : QString();
        if (Link.LogLines > 0) {
            while (m->lineCount() > Link.LogLines)
                m->removeBottomLine();
        }
        m->insertTopLine(prefix + trimmedLogText(text));
    } catch (const std::exception& error) {
        ErrorBox(fromAnsi(error.what()));
    }
}

void TForm1::Showtimestamp1Click()
{
    // The item has inverted its check mark; new lines follow it from now on.
}

void TForm1::Clearlog1Click()
{
    if (QuestionBox(QStringLiteral("Clear Log?")))
        m->clear();
}

void TForm1::Savelog1Click()
{
    const auto fileName = prompts().saveFileName(sd);
    if (!fileName)
        return;
    if (const auto error = saveLogFile(*fileName, m->lines()))
        throw std::runtime_error(toAnsi(*error));
}

void TForm1::ShowCRLF1Click()
{
    Link.ShowCRLF = ShowCRLF1->isChecked();
}

void TForm1::selectDisplay(QAction* item, DisplayMode mode, const QString& panelText)
{
    for (QAction* display : {ShowHEX1, ShowASCII1, ShowBINARY1})
        display->setChecked(display == item);
    Link.DisplayMode = mode;
    showInStatusPanel(sbPanel0, panelText);
}

void TForm1::ShowHEX1Click()
{
    selectDisplay(ShowHEX1, DisplayMode::Hex, QStringLiteral(" Show HEX"));
}

void TForm1::ShowASCII1Click()
{
    selectDisplay(ShowASCII1, DisplayMode::Ascii, QStringLiteral(" Show ASCII"));
}

void TForm1::ShowBINARY1Click()
{
    selectDisplay(ShowBINARY1, DisplayMode::Binary, QStringLiteral(" Show BINARY"));
}
