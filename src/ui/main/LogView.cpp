#include "ui/main/LogView.h"

#include "ui/main/LogDocumentLayout.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace {
constexpr int RepaintDelayMs = 40;
}

LogView::LogView(QWidget* parent)
    : QPlainTextEdit(parent)
{
    auto* log = new QTextDocument(this);
    log->setDefaultFont(font());
    m_layout = new LogDocumentLayout(log, viewport());
    log->setDocumentLayout(m_layout);
    setDocument(log);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_repaintTimer.setSingleShot(true);
    m_repaintTimer.setInterval(RepaintDelayMs);
    connect(&m_repaintTimer, &QTimer::timeout, this, [this] { setRepaintEnabled(true); });
}

int LogView::lineCount() const
{
    return document()->isEmpty() ? 0 : document()->blockCount();
}

QString LogView::line(int index) const
{
    return document()->findBlockByNumber(index).text();
}

QStringList LogView::lines() const
{
    QStringList all;
    for (QTextBlock block = document()->begin(); block.isValid() && lineCount() > 0; block = block.next())
        all << block.text();
    return all;
}

void LogView::insertTopLine(const QString& text)
{
    const bool wasEmpty = document()->isEmpty();
    // A fresh cursor already stands at the start. Moving one would lay out the block it
    // stands in first: for a line of a long received chunk, that costs more than the insert.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.insertText(text);
    if (!wasEmpty)
        cursor.insertBlock();
    cursor.endEditBlock();
}

void LogView::removeBottomLine()
{
    const QTextBlock last = document()->lastBlock();
    m_layout->forgetLastLine();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    // The separator before the last line goes with it, unless it is the only line. Positions
    // are set, not moved to, for the same reason as above.
    cursor.setPosition(std::max(0, last.position() - 1));
    cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

void LogView::suspendRepaint()
{
    setRepaintEnabled(false);
}

void LogView::resumeRepaint()
{
    if (!m_repaintTimer.isActive())
        m_repaintTimer.start();
}

void LogView::setRepaintEnabled(bool enabled)
{
    // Each line moves both scroll ranges, and a tall scroll bar costs Qt's raster engine a
    // round of work shared out to its thread pool: the bars wait for the text.
    viewport()->setUpdatesEnabled(enabled);
    verticalScrollBar()->setUpdatesEnabled(enabled);
    horizontalScrollBar()->setUpdatesEnabled(enabled);
}
