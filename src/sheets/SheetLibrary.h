#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <memory>

#include "sheets/LabelSheet.h"

namespace tandor {

// The label sheets the program knows: the sheets it is built with (the 30-up
// Letter sheet first), then those of the folders of sheets it was loaded
// from. A reload replaces the list whole and says so with `changed`; the
// windows that show sheets follow it. A sheet handed out stays valid until
// the next reload; a caller that keeps sheets across reloads holds a snapshot.
class SheetLibrary : public QObject {
    Q_OBJECT

public:
    explicit SheetLibrary(QObject* parent = nullptr);

    // The program's library, loaded from labelSheetFolders() on first use.
    static SheetLibrary& program();

    // Its sheets, loaded from labelSheetFolders() when it was never loaded.
    const QList<LabelSheet>& sheets();
    // The same list, kept whole for as long as the snapshot is held.
    std::shared_ptr<const QList<LabelSheet>> snapshot();
    // The sheets that take five address lines (the label-position prompt, bulk labels).
    QList<const LabelSheet*> addressSheets();
    // The sheet called `name` (its name or one of its part numbers or
    // equivalents, any case, with or without its maker); nullptr when none.
    const LabelSheet* find(const QString& name);

    // Loads the sheets again, from labelSheetFolders() or from the given
    // folders (the built-in sheets are always there), and emits `changed`.
    void reload();
    void reload(const QStringList& folders);

signals:
    void changed();

private:
    std::shared_ptr<const QList<LabelSheet>> sheets_;
};

// Where sheets are read from, first found first kept: the folder "sheets" of
// the per-user program folder, then the folder "libglabels-3.0/templates" in
// each of the system's data folders that has one.
QStringList labelSheetFolders();
// The sheets the program is built with and those read from the folders, as a
// library loaded from them holds them.
QList<LabelSheet> loadLabelSheets(const QStringList& folders);

}  // namespace tandor
