#include "ui/main/FixedPitchFont.h"

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
    , m_device(device)
{
}

bool FixedPitchFont::covers(QStringView text) const
{
    // Received lines run to tens of thousands of characters: the known answers are looked
    // up in place, and only a character met for the first time is measured.
    for (QChar ch : text) {
        if (ch.unicode() >= m_fits.size())
            return false;
        const Fit fit = m_fits[ch.unicode()];
        if (fit == Fit::Other || (fit == Fit::Unknown && measure(ch) == Fit::Other))
            return false;
    }
    return true;
}

const FixedPitchFont::Geometry& FixedPitchFont::geometry() const
{
    if (m_geometry)
        return *m_geometry;
    // The geometry is read from a real plain-text layout of a sample line, so that a line
    // painted from it sits exactly where the same line sits once it is laid out.
    QTextDocument sample;
    sample.setDefaultFont(m_font);
    auto* layout = new QPlainTextDocumentLayout(&sample);
    layout->setPaintDevice(m_device);
    sample.setDocumentLayout(layout);
    sample.setPlainText(SampleLine + QLatin1Char('\n'));
    const QTextBlock first = sample.firstBlock();
    const qreal lineHeight = layout->blockBoundingRect(first).height();
    const QTextLine line = first.layout()->lineAt(0);
    // Kerning and ligatures may move the characters of any other font: its lines are laid out.
    m_geometry = Geometry{line.naturalTextWidth() / SampleLine.size(), lineHeight, line.ascent(), line.descent(),
                          QFontInfo(m_font).fixedPitch()};
    return *m_geometry;
}

FixedPitchFont::Fit FixedPitchFont::measure(QChar ch) const
{
    const QFontMetricsF metrics(m_font, m_device);
    const bool atAdvance =
        geometry().fixedPitch && ch.isPrint() && metrics.inFont(ch) && metrics.horizontalAdvance(ch) == advance();
    return m_fits[ch.unicode()] = atAdvance ? Fit::AtAdvance : Fit::Other;
}
