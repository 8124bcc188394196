#include "platform/ColumnFont.h"

#include <QFontDatabase>

namespace tandor {

const QStringList kColumnFontFamilies{QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono"),
                                      QStringLiteral("Noto Mono"), QStringLiteral("Cousine")};

QString chooseColumnFamily(const QStringList& families, const std::function<bool(const QString&)>& usable,
                           const QString& fallback) {
    for (const QString& family : families) {
        if (usable(family)) {
            return family;
        }
    }
    return fallback;
}

QFont columnFont(double pointSize) {
    QFont desktop = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QString family = chooseColumnFamily(
        kColumnFontFamilies,
        [](const QString& name) { return QFontDatabase::hasFamily(name) && QFontDatabase::isFixedPitch(name); },
        desktop.family());
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setKerning(false);
    if (pointSize > 0) {
        font.setPointSizeF(pointSize);
    }
    return font;
}

}  // namespace tandor
