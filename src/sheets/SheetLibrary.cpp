#include "sheets/SheetLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include "platform/ProgramFolders.h"
#include "sheets/CharacterGrid.h"
#include "sheets/SheetTemplateReader.h"
#include "sheets/TemplateSheets.h"

namespace tandor {
namespace {

// Positions are asked for with at most two digits.
constexpr int kMostPositions = 99;


const QString kBuiltInResource = QStringLiteral(":/sheets/builtin-sheets.xml");

// What the built-in sheets keep beyond their geometry, by name.
void completeBuiltIn(LabelSheet& s) {
    if (s.name == QLatin1String("5160")) {
        // Columns step 33 characters (2.75 in at 12 characters per inch), rows
        // alternately 7 and 6 lines (1 in).
        s.leftPads = {2, 35, 68};
        s.topPads = {3, 10, 16, 23, 30, 36, 43, 50, 56, 63};
        s.bulkRowsBySpacing = true;
    } else if (s.name == QLatin1String("5161")) {
        s.characters = 45;
    } else if (s.name == QLatin1String("L7160")) {
        s.characters = 27;
    } else if (s.name == QLatin1String("L7163")) {
        s.characters = 43;
        // The free template library puts the first label 3.35 mm from the left
        // with a pitch of 103.0 mm.
        s.otherReading = SheetReading{3.35 * kMm, 103.0 * kMm};
    } else if (s.name == QLatin1String("5167")) {
        s.use = SheetUse::ReturnAddress;
        s.fontSize = 8.0;
        s.textLines = 3;
        s.characters = 30;
        s.leftPads = {3, 35, 66, 97};
        // Five lines above the first row, four lines a row, and one extra line
        // after rows 8, 13 and 15: the sheet's rows drift against the grid and
        // the extra lines bring them back onto their labels.
        for (int row = 1; row <= s.rowCount(); ++row) {
            int top = 5 + (row - 1) * 4;
            for (int extra : {8, 13, 15}) {
                if (row > extra) {
                    ++top;
                }
            }
            s.topPads.push_back(top);
        }
    }
}


QString partsOf(const LabelSheet& s) {
    return s.maker + QLatin1Char(' ') + (QStringList{s.part} + s.equivalents).join(QStringLiteral(" / "));
}

// The templates of a file; none when it cannot be opened.
QList<SheetTemplate> templatesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return SheetTemplateReader(file.readAll()).read().templates;
}

// The templates of every file of the folders, folder by folder, each folder's
// files in the order of their names.
QList<SheetTemplate> templatesIn(const QStringList& folders) {
    QList<SheetTemplate> templates;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& file : dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name)) {
            templates.append(templatesOf(dir.filePath(file)));
        }
    }
    return templates;
}

// The part numbers of the sheets taken so far.
class TakenParts {
public:
    bool contains(const QString& maker, const QString& part) const { return keys_.contains(sheetKey(maker, part)); }
    void take(const LabelSheet& s) {
        keys_.insert(sheetKey(s.maker, s.part));
        for (const QString& part : s.equivalents) {
            keys_.insert(sheetKey(s.maker, part));
        }
    }

private:
    QSet<QString> keys_;
};

}  // namespace

QList<LabelSheet> loadLabelSheets(const QStringList& folders) {
    QList<LabelSheet> sheets;
    TakenParts taken;
    for (LabelSheet& s : sheetsOfTemplates(templatesOf(kBuiltInResource))) {
        s.name = s.part;
        s.parts = partsOf(s);
        s.builtIn = true;
        completeBuiltIn(s);
        taken.take(s);
        sheets.append(s);
    }
    for (LabelSheet& s : sheetsOfTemplates(templatesIn(folders))) {
        // A sheet already known (built in, or read before) keeps its place.
        if (taken.contains(s.maker, s.part) || s.count() > kMostPositions) {
            continue;
        }
        s.equivalents.removeIf([&](const QString& part) { return taken.contains(s.maker, part); });
        if (!fitCharacterGrid(s)) {
            continue;
        }
        s.name = s.maker + QLatin1Char(' ') + s.part;
        s.parts = partsOf(s);
        taken.take(s);
        sheets.append(s);
    }
    return sheets;
}

QStringList labelSheetFolders() {
    QStringList folders{QDir(perUserProgramFolder()).filePath(QStringLiteral("sheets"))};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString folder = QDir(data).filePath(QStringLiteral("libglabels-3.0/templates"));
        if (QFileInfo(folder).isDir() && !folders.contains(folder)) {
            folders.append(folder);
        }
    }
    return folders;
}

SheetLibrary::SheetLibrary(QObject* parent) : QObject(parent) {}

SheetLibrary& SheetLibrary::program() {
    static SheetLibrary library;
    return library;
}

const QList<LabelSheet>& SheetLibrary::sheets() {
    return *snapshot();
}

std::shared_ptr<const QList<LabelSheet>> SheetLibrary::snapshot() {
    if (!sheets_) {
        sheets_ = std::make_shared<const QList<LabelSheet>>(loadLabelSheets(labelSheetFolders()));
    }
    return sheets_;
}

void SheetLibrary::reload() {
    reload(labelSheetFolders());
}

void SheetLibrary::reload(const QStringList& folders) {
    sheets_ = std::make_shared<const QList<LabelSheet>>(loadLabelSheets(folders));
    emit changed();
}

QList<const LabelSheet*> SheetLibrary::addressSheets() {
    QList<const LabelSheet*> out;
    for (const LabelSheet& s : sheets()) {
        if (s.use == SheetUse::Address) {
            out.append(&s);
        }
    }
    return out;
}

const LabelSheet* SheetLibrary::find(const QString& name) {
    const QString wanted = name.simplified();
    if (wanted.isEmpty()) {
        return nullptr;
    }
    const auto isPart = [](const LabelSheet& s, QStringView asked) {
        if (s.part.compare(asked, Qt::CaseInsensitive) == 0) {
            return true;
        }
        for (const QString& part : s.equivalents) {
            if (part.compare(asked, Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
        return false;
    };
    for (const LabelSheet& s : sheets()) {
        if (s.name.compare(wanted, Qt::CaseInsensitive) == 0 || isPart(s, wanted)) {
            return &s;
        }
        if (wanted.size() > s.maker.size() && wanted.at(s.maker.size()) == QLatin1Char(' ') &&
            wanted.startsWith(s.maker, Qt::CaseInsensitive) &&
            isPart(s, QStringView(wanted).mid(s.maker.size() + 1))) {
            return &s;
        }
    }
    return nullptr;
}

const QList<LabelSheet>& labelSheets() {
    return SheetLibrary::program().sheets();
}

QList<const LabelSheet*> addressSheets() {
    return SheetLibrary::program().addressSheets();
}

const LabelSheet* findLabelSheet(const QString& name) {
    return SheetLibrary::program().find(name);
}

const LabelSheet& defaultLabelSheet() {
    return labelSheets().front();
}

const LabelSheet& returnAddressLabelSheet() {
    return *findLabelSheet(QStringLiteral("5167"));
}

const LabelSheet& addressSheetOr(const QString& name) {
    const LabelSheet* sheet = findLabelSheet(name);
    return sheet && sheet->use == SheetUse::Address ? *sheet : defaultLabelSheet();
}

}  // namespace tandor
