#include "compose/widgets/MainWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "compose/LabelPositions.h"
#include "sheets/SheetLibrary.h"
#include "sheets/SheetSearch.h"

// The main window's sheet picker: a list of the address sheets in which the
// user types a part number, a maker or a word of the description and picks
// one of the sheets that match.
namespace tandor {

namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kSummaryRole = MainWindow::kSheetSummaryRole;
constexpr int kWidestCharacters = 48;  // the list is no wider than this many average characters

// The drop-down list shows each sheet whole, with its equivalents and its
// description; the list itself shows the chosen sheet's short caption.
class SummaryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = index.data(kSummaryRole).toString();
    }
};

}  // namespace

void MainWindow::buildSheetPicker() {
    cboLMSheet_->setEditable(true);
    cboLMSheet_->setInsertPolicy(QComboBox::NoInsert);
    cboLMSheet_->setCompleter(nullptr);  // the picker below finds sheets by any word
    cboLMSheet_->setToolTip(QStringLiteral(
        "The sheet of labels in the printer: type a part number, a maker or a word of its description to find it"));
    cboLMSheet_->lineEdit()->setPlaceholderText(QStringLiteral("Part number, maker or description"));

    cboLMSheet_->setItemDelegate(new SummaryDelegate(cboLMSheet_));
    fillSheetList();
    connect(&SheetLibrary::program(), &SheetLibrary::changed, this, &MainWindow::fillSheetList);

    // The matches of the typed text, under the list.
    sheetMatches_ = new QStandardItemModel(this);
    sheetFinder_ = new QCompleter(sheetMatches_, this);
    sheetFinder_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    sheetFinder_->setMaxVisibleItems(12);
    sheetFinder_->setWidget(cboLMSheet_->lineEdit());
    sheetFinder_->popup()->setObjectName(QStringLiteral("lstLMSheetMatches"));
    if (auto* matches = qobject_cast<QListView*>(sheetFinder_->popup())) {
        matches->setUniformItemSizes(true);
    }
    connect(cboLMSheet_->lineEdit(), &QLineEdit::textEdited, this, &MainWindow::showSheetMatches);
    connect(sheetFinder_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) { chooseSheet(index.data(kNameRole).toString()); });
    // Leaving the list without choosing shows the chosen sheet again.
    connect(cboLMSheet_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (!sheetFinder_->popup()->isVisible()) {
            showChosenSheet();
        }
    });
}

// The list holds every address sheet, the ones used last first; it is filled
// again whenever the library of sheets is reloaded.
void MainWindow::fillSheetList() {
    const QSignalBlocker blockSheets(cboLMSheet_);
    cboLMSheet_->clear();
    // The sheets used last first, then the others in the order of the list.
    const QFontMetrics metrics = cboLMSheet_->fontMetrics();
    int widest = 0;
    int widestSummary = 0;
    for (const LabelSheet* sheet : searchSheets(addressSheets(), QString(), recentSheets(platform_))) {
        const QString caption = sheetCaption(*sheet);
        const QString summary = sheetSummary(*sheet);
        cboLMSheet_->addItem(caption, sheet->name);
        cboLMSheet_->setItemData(cboLMSheet_->count() - 1, summary, kSummaryRole);
        cboLMSheet_->setItemData(cboLMSheet_->count() - 1, summary, Qt::ToolTipRole);
        widest = std::max(widest, metrics.horizontalAdvance(caption));
        widestSummary = std::max(widestSummary, metrics.horizontalAdvance(summary));
    }
    // As wide as its widest entry, up to a limit; its drop-down list shows
    // every sheet whole.
    QStyleOptionComboBox option;
    option.initFrom(cboLMSheet_);
    option.editable = true;
    const int room = std::min(widest, kWidestCharacters * metrics.averageCharWidth()) + 8;
    cboLMSheet_->setFixedWidth(
        cboLMSheet_->style()
            ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(room, metrics.height()), cboLMSheet_)
            .width());
    auto* list = qobject_cast<QListView*>(cboLMSheet_->view());
    if (list != nullptr) {
        list->setUniformItemSizes(true);
    }
    cboLMSheet_->view()->setMinimumWidth(widestSummary + cboLMSheet_->view()->verticalScrollBar()->sizeHint().width() + 16);

    showChosenSheet();
}

void MainWindow::showSheetMatches(const QString& text) {
    const QList<const LabelSheet*> found = searchSheets(addressSheets(), text, recentSheets(platform_));
    sheetMatches_->clear();
    const QFontMetrics metrics = sheetFinder_->popup()->fontMetrics();
    int widest = 0;
    for (const LabelSheet* sheet : found) {
        auto* item = new QStandardItem(sheetSummary(*sheet));
        item->setData(sheet->name, kNameRole);
        item->setEditable(false);
        widest = std::max(widest, metrics.horizontalAdvance(item->text()));
        sheetMatches_->appendRow(item);
    }
    if (found.isEmpty()) {
        auto* none = new QStandardItem(QStringLiteral("No sheet matches \"%1\": try a part number, a maker or one word")
                                           .arg(text.simplified()));
        none->setEnabled(false);
        widest = metrics.horizontalAdvance(none->text());
        sheetMatches_->appendRow(none);
    }
    // Right under the list, from its left edge, as wide as the widest match.
    QRect under(cboLMSheet_->lineEdit()->mapFrom(cboLMSheet_, QPoint(0, 0)), cboLMSheet_->size());
    under.setWidth(std::max(cboLMSheet_->width(),
                            widest + sheetFinder_->popup()->verticalScrollBar()->sizeHint().width() + 16));
    sheetFinder_->complete(under);
    // Enter takes the first match.
    if (!found.isEmpty()) {
        sheetFinder_->popup()->setCurrentIndex(sheetFinder_->completionModel()->index(0, 0));
    }
}

void MainWindow::showChosenSheet() {
    const QSignalBlocker block(cboLMSheet_);
    const LabelSheet& sheet = sheetOf(state_);
    const int index = cboLMSheet_->findData(sheet.name);
    if (cboLMSheet_->currentIndex() != index) {
        cboLMSheet_->setCurrentIndex(index);
    }
    const QString text = cboLMSheet_->itemText(index);
    if (cboLMSheet_->lineEdit()->text() != text) {
        cboLMSheet_->lineEdit()->setText(text);
    }
    cboLMSheet_->lineEdit()->setCursorPosition(0);  // a long entry shows its maker and part
    lblLMSheetLines_->setText(sheetLinesNote(sheet));
}

}  // namespace tandor
