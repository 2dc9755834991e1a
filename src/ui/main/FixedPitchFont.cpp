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
    , m_device(device)
{
}

bool FixedPitchFont::covers(QStringView text) const
{
    for (QChar ch : text) {
        if (!fits(ch))
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

bool FixedPitchFont::fits(QChar ch) const
{
    if (ch.unicode() >= m_fits.size())
        return false;
    Fit& fit = m_fits[ch.unicode()];
    if (fit == Fit::Unknown) {
        const QFontMetricsF metrics(m_font, m_device);
        fit = geometry().fixedPitch && ch.isPrint() && metrics.inFont(ch) && metrics.horizontalAdvance(ch) == advance()
            ? Fit::AtAdvance
            : Fit::Other;
    }
    return fit == Fit::AtAdvance;
}
