#include "FixedPitchFont.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

const QString SampleLine = QStringLiteral("0000000000");

} // namespace

FixedPitchFont::FixedPitchFont(const QFont& font, QPaintDevice* device)
    : m_font(font)
{
    // The geometry is read from a real plain-text layout of a sample line, so that a line
    // painted from it sits exactly where the same line sits once it is laid out.
    QTextDocument sample;
    sample.setDefaultFont(font);
    auto* layout = new QPlainTextDocumentLayout(&sample);
    layout->setPaintDevice(device);
    sample.setDocumentLayout(layout);
    sample.setPlainText(SampleLine + QLatin1Char('\n'));
    const QTextBlock first = sample.firstBlock();
    m_lineHeight = layout->blockBoundingRect(first).height();
    const QTextLine line = first.layout()->lineAt(0);
    m_advance = line.naturalTextWidth() / SampleLine.size();
    m_ascent = line.ascent();
    m_descent = line.descent();

    if (!QFontInfo(font).fixedPitch())
        return; // kerning and ligatures may move characters: every line is laid out
    const QFontMetricsF metrics(font, device);
    for (char16_t c = 0; c < m_fixed.size(); ++c) {
        const QChar ch(c);
        m_fixed[c] = ch.isPrint() && metrics.inFont(ch) && metrics.horizontalAdvance(ch) == m_advance;
    }
}

bool FixedPitchFont::covers(QStringView text) const
{
    for (QChar ch : text) {
        if (ch.unicode() >= m_fixed.size() || !m_fixed[ch.unicode()])
            return false;
    }
    return true;
}
