#include "sheets/SheetSearch.h"

#include <algorithm>
#include <cmath>

#include "platform/Platform.h"

namespace tandor {
namespace {

const QString kSettingsSection = QStringLiteral("Settings");
const QChar kRecentSeparator = QLatin1Char('|');

QStringList wordsOf(const QString& text) {
    return text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Everything a search word may be found in.
QString searchedText(const LabelSheet& sheet) {
    return QStringList{sheet.maker, sheet.part, sheet.equivalents.join(QLatin1Char(' ')), sheet.name,
                       sheet.detail, sheet.paperName()}
        .join(QLatin1Char(' '));
}

QList<const LabelSheet*> pointersTo(const QList<LabelSheet>& sheets) {
    QList<const LabelSheet*> out;
    out.reserve(sheets.size());
    for (const LabelSheet& s : sheets) {
        out.append(&s);
    }
    return out;
}

// A name as it is typed after --sheet: quoted when it holds a space.
QString typed(const QString& name) {
    return name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name;
}

}  // namespace

bool sheetMatches(const LabelSheet& sheet, const QString& text) {
    const QStringList words = wordsOf(text);
    if (words.isEmpty()) {
        return true;
    }
    const QString searched = searchedText(sheet);
    for (const QString& word : words) {
        if (!searched.contains(word, Qt::CaseInsensitive)) {
            return false;
        }
    }
    return true;
}

QList<const LabelSheet*> searchSheets(const QList<const LabelSheet*>& sheets, const QString& text,
                                      const QStringList& recent) {
    const QStringList words = wordsOf(text);
    QList<const LabelSheet*> used;
    QList<const LabelSheet*> exact;
    QList<const LabelSheet*> others;
    for (const LabelSheet* sheet : sheets) {
        if (!sheetMatches(*sheet, text)) {
            continue;
        }
        if (recent.contains(sheet->name)) {
            used.append(sheet);
        } else if (std::any_of(words.begin(), words.end(),
                               [sheet](const QString& w) { return sheet->hasPartNumber(w); })) {
            exact.append(sheet);
        } else {
            others.append(sheet);
        }
    }
    std::stable_sort(used.begin(), used.end(), [&recent](const LabelSheet* a, const LabelSheet* b) {
        return recent.indexOf(a->name) < recent.indexOf(b->name);
    });
    return used + exact + others;
}

QList<const LabelSheet*> searchSheets(const QList<LabelSheet>& sheets, const QString& text,
                                      const QStringList& recent) {
    return searchSheets(pointersTo(sheets), text, recent);
}

QList<const LabelSheet*> searchSheets(const QString& text, const QStringList& recent) {
    return searchSheets(labelSheets(), text, recent);
}

SheetResolution resolveSheet(const QList<LabelSheet>& sheets, const QString& name) {
    SheetResolution result;
    const QString wanted = name.simplified();
    if (wanted.isEmpty()) {
        result.error = QStringLiteral(
            "--sheet needs the name of a label sheet: see them with tandor-batch sheets --search TEXT");
        return result;
    }
    for (const LabelSheet& s : sheets) {
        if (s.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            result.sheet = &s;
            return result;
        }
    }
    // A part number alone, or after the maker: "5160", "Avery 5160".
    QList<const LabelSheet*> own;
    QList<const LabelSheet*> equivalent;
    for (const LabelSheet& s : sheets) {
        QString number = wanted;
        const QString maker = s.maker + QLatin1Char(' ');
        if (!s.maker.isEmpty() && wanted.startsWith(maker, Qt::CaseInsensitive)) {
            number = wanted.mid(maker.size());
        }
        if (s.part.compare(number, Qt::CaseInsensitive) == 0) {
            own.append(&s);
        } else if (s.hasPartNumber(number)) {
            equivalent.append(&s);
        }
    }
    result.matches = own.isEmpty() ? equivalent : own;
    if (result.matches.size() == 1) {
        result.sheet = result.matches.front();
        return result;
    }
    if (result.matches.isEmpty()) {
        result.error = QStringLiteral("no label sheet is called %1: find it with tandor-batch sheets --search %2"
                                      " and give --sheet the name in its last column")
                           .arg(typed(wanted), typed(wanted));
        return result;
    }
    // Several sheets share the part number: the user picks one by its name.
    int widest = 0;
    for (const LabelSheet* s : result.matches) {
        widest = std::max(widest, static_cast<int>(typed(s->name).size()));
    }
    QString message = QStringLiteral("%1 is the part number of %2 label sheets; give --sheet one of these names:\n")
                          .arg(typed(wanted))
                          .arg(result.matches.size());
    for (const LabelSheet* s : result.matches) {
        message += QStringLiteral("  --sheet %1  %2\n").arg(typed(s->name).leftJustified(widest), sheetSummary(*s));
    }
    result.error = message.trimmed();
    return result;
}

SheetResolution resolveSheet(const QString& name) {
    return resolveSheet(labelSheets(), name);
}

QString partNumbers(const LabelSheet& sheet) {
    return (QStringList{sheet.part} + sheet.equivalents).join(QStringLiteral(" / "));
}

QString shortPartNumbers(const LabelSheet& sheet) {
    constexpr int kShown = 3;
    QStringList parts = QStringList{sheet.part} + sheet.equivalents;
    if (parts.size() > kShown) {
        parts = parts.mid(0, kShown) << QStringLiteral("...");
    }
    return parts.join(QStringLiteral(" / "));
}

QString sheetSummary(const LabelSheet& sheet) {
    QString named = (sheet.maker + QLatin1Char(' ') + shortPartNumbers(sheet)).trimmed();
    if (!sheet.detail.isEmpty()) {
        named += QLatin1Char(' ') + sheet.detail;
    }
    return QStringLiteral("%1: %2, %3 of %4").arg(named, sheet.paperName(), labelCountText(sheet.count()), labelSizeText(sheet));
}

QString sheetCaption(const LabelSheet& sheet) {
    return QStringLiteral("%1: %2, %3 of %4")
        .arg((sheet.maker + QLatin1Char(' ') + sheet.part).trimmed(), sheet.paperName(), labelCountText(sheet.count()),
             labelSizeText(sheet));
}

QString sheetLinesNote(const LabelSheet& sheet) {
    if (sheet.textLines >= 5) {
        return {};
    }
    return sheet.textLines == 1 ? QStringLiteral("1 line a label") : QStringLiteral("%1 lines a label").arg(sheet.textLines);
}

QStringList recentSheets(Platform& platform) {
    return platform.readSetting(kSettingsSection, kRecentSheetsSettingKey).split(kRecentSeparator, Qt::SkipEmptyParts);
}

QStringList withRecentSheet(const QStringList& recent, const QString& name) {
    QStringList out{name};
    for (const QString& other : recent) {
        if (other != name && out.size() < kRecentSheetsKept) {
            out.append(other);
        }
    }
    return out;
}

void rememberSheet(Platform& platform, const QString& name) {
    platform.writeSetting(kSettingsSection, kSheetSettingKey, name);
    platform.writeSetting(kSettingsSection, kRecentSheetsSettingKey,
                          withRecentSheet(recentSheets(platform), name).join(kRecentSeparator));
}

}  // namespace tandor
