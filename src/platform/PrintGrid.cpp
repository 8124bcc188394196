#include "platform/PrintGrid.h"

#include <QFontInfo>
#include <QHash>
#include <QRawFont>
#include <mutex>

namespace tandor {
namespace printgrid {

double lineHeight(double fontSize) {
    return fontSize * kLinePitchPerPoint;
}

QSizeF paperSize(PaperSize paper, PageOrientation orientation) {
    QSizeF portrait(8.5 * kPointsPerInch, 11.0 * kPointsPerInch);
    if (paper == PaperSize::Envelope10) {
        portrait = QSizeF(4.125 * kPointsPerInch, 9.5 * kPointsPerInch);
    } else if (paper == PaperSize::A4) {
        portrait = QSizeF(210.0 / 25.4 * kPointsPerInch, 297.0 / 25.4 * kPointsPerInch);
    }
    return orientation == PageOrientation::Portrait ? portrait : portrait.transposed();
}

QSizeF pdfPrintableSize(PaperSize paper, PageOrientation orientation) {
    return pdfPrintableSize(paperSize(paper, orientation));
}

QSizeF pdfPrintableSize(const QSizeF& page) {
    return {page.width() - (kPdfLeftMarginInches + kPdfRightMarginInches) * kPointsPerInch,
            page.height() - (kPdfTopMarginInches + kPdfBottomMarginInches) * kPointsPerInch};
}

}  // namespace printgrid

namespace {

struct FontKey {
    QString name;
    bool bold;
    bool italic;
    bool operator==(const FontKey&) const = default;
};

size_t qHash(const FontKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.name, key.bold, key.italic);
}

void installSubstitutions() {
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(QStringLiteral("Trebuchet MS"),
                                   {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
        QFont::insertSubstitutions(QStringLiteral("Courier New"),
                                   {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    });
}

// Raw fonts at 1 point: widths scale with the size.
const QRawFont& rawFont(const FontSpec& fontSpec) {
    static QHash<FontKey, QRawFont> cache;
    const FontKey key{fontSpec.name, fontSpec.bold, fontSpec.italic};
    auto it = cache.find(key);
    if (it == cache.end()) {
        FontSpec unit = fontSpec;
        unit.size = 100.0;
        QFont font = resolveFont(unit);
        QRawFont raw = QRawFont::fromFont(font);
        raw.setPixelSize(100.0);
        it = cache.insert(key, raw);
    }
    return *it;
}

}  // namespace

QFont resolveFont(const FontSpec& fontSpec) {
    installSubstitutions();
    QFont font(fontSpec.name);
    font.setPointSizeF(fontSpec.size);
    font.setBold(fontSpec.bold);
    font.setItalic(fontSpec.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    if (fontSpec.name == QLatin1String("Courier New")) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    return font;
}

QString resolvedFamily(const QString& programFontName) {
    FontSpec fontSpec;
    fontSpec.name = programFontName;
    return QFontInfo(resolveFont(fontSpec)).family();
}

double columnWidth(const FontSpec& fontSpec) {
    const QRawFont& raw = rawFont(fontSpec);
    if (!raw.isValid()) {
        return fontSpec.size * 0.6;
    }
    return raw.averageCharWidth() / 100.0 * fontSpec.size;
}

double textWidth(const FontSpec& fontSpec, const QString& text) {
    if (text.isEmpty()) {
        return 0.0;
    }
    const QRawFont& raw = rawFont(fontSpec);
    if (!raw.isValid()) {
        return text.size() * columnWidth(fontSpec);
    }
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
    double width = 0.0;
    for (const QPointF& a : advances) {
        width += a.x();
    }
    return width / 100.0 * fontSpec.size;
}

}  // namespace tandor
