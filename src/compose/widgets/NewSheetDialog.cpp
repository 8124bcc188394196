#include "compose/widgets/NewSheetDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/Platform.h"
#include "platform/widgets/NamedControls.h"
#include "platform/widgets/WindowConventions.h"
#include "windowkit/widgets/CommandRunner.h"
#include "windowkit/widgets/WindowHost.h"
#include "sheets/LabelSheet.h"
#include "sheets/SheetDesignFile.h"
#include "sheets/SheetLibrary.h"

namespace tandor {

namespace {
const QString kTitle = QStringLiteral("New Label Sheet");
}

// The sheet drawn to scale: the paper, and every label's rectangle (red where
// the sheet has a problem). Labels off the paper are drawn where they fall.
class SheetPicture : public QWidget {
public:
    explicit SheetPicture(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QStringLiteral("picSheet"));
        setMinimumSize(260, 320);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    void setDesign(const SheetDesign& design, bool fine) {
        design_ = design;
        fine_ = fine;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), palette().window());
        const SheetDesign& d = design_;
        const QRectF paper(0, 0, designPaperWidth(d), designPaperHeight(d));
        const bool labels = d.labelWidth > 0 && d.labelHeight > 0 && d.columns >= 1 && d.rows >= 1 &&
                            d.columns <= 100 && d.rows <= 100;
        QRectF all = paper.isValid() ? paper : QRectF();
        if (labels) {
            all |= QRectF(d.left, d.top, (d.columns - 1) * d.pitchX + d.labelWidth,
                          (d.rows - 1) * d.pitchY + d.labelHeight);
        }
        if (!all.isValid() || all.width() <= 0 || all.height() <= 0) {
            return;
        }
        const QRectF room = QRectF(rect()).adjusted(8, 8, -8, -8);
        const double scale = std::min(room.width() / all.width(), room.height() / all.height());
        p.translate(room.center().x() - all.center().x() * scale, room.center().y() - all.center().y() * scale);
        auto onScreen = [scale](const QRectF& r) {
            return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
        };
        if (paper.isValid()) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawRect(onScreen(paper));
        }
        if (!labels) {
            return;
        }
        p.setPen(QPen(fine_ ? QColor(40, 80, 160) : QColor(200, 30, 30), 1));
        p.setBrush(fine_ ? QColor(220, 232, 250) : QColor(250, 225, 225, 160));
        for (int row = 0; row < d.rows; ++row) {
            for (int column = 0; column < d.columns; ++column) {
                p.drawRect(onScreen(QRectF(d.left + column * d.pitchX, d.top + row * d.pitchY, d.labelWidth,
                                           d.labelHeight)));
            }
        }
    }

private:
    SheetDesign design_;
    bool fine_ = false;
};

NewSheetDialog::NewSheetDialog(WindowHost& host, const QString& folder, QWidget* parent)
    : QDialog(parent), host_(host), platform_(host.platform()), folder_(folder) {
    setObjectName(QStringLiteral("frmNewSheet"));
    setWindowTitle(kTitle);
    buildControls();

    for (QLineEdit* box : {txtSheetName_, txtSheetPaperWidth_, txtSheetPaperHeight_, txtSheetLabelWidth_,
                           txtSheetLabelHeight_, txtSheetColumns_, txtSheetRows_, txtSheetLeft_, txtSheetTop_,
                           txtSheetPitchX_, txtSheetPitchY_}) {
        connect(box, &QLineEdit::textChanged, this, &NewSheetDialog::refresh);
    }
    connect(optSheetInches_, &QRadioButton::toggled, this, [this](bool inches) {
        // What is typed is in the unit shown so far, converted into the one chosen.
        const LengthUnit chosen = inches ? LengthUnit::Inches : LengthUnit::Millimetres;
        if (!showing_ && chosen != unit_) {
            showText(convertedText(typed(), chosen));
        }
    });
    connect(cboSheetPaper_, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) {
            showPaper();
            refresh();
        }
    });
    connect(cmdSheetSave_, &QPushButton::clicked, this, &NewSheetDialog::save);
    connect(cmdSheetOpen_, &QPushButton::clicked, this, &NewSheetDialog::openSheet);
    connect(lstSheets_, &QListWidget::itemActivated, this, &NewSheetDialog::openSheet);
    connect(cmdSheetDelete_, &QPushButton::clicked, this, &NewSheetDialog::deleteSheet);
    connect(cmdSheetNew_, &QPushButton::clicked, this, &NewSheetDialog::newSheet);
    connect(cmdSheetClose_, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstSheets_, &QListWidget::currentRowChanged, this, [this](int row) {
        cmdSheetOpen_->setEnabled(row >= 0);
        cmdSheetDelete_->setEnabled(row >= 0);
    });

    // The list of the user's sheets follows the library: saving or deleting
    // one reloads it.
    connect(&SheetLibrary::program(), &SheetLibrary::changed, this, &NewSheetDialog::fillSheetList);
    fillSheetList();
    showText(newDesignText());
    txtSheetName_->setFocus();
}

void NewSheetDialog::buildControls() {
    auto* top = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    top->addLayout(left);

    auto* form = new QGridLayout;
    left->addLayout(form);
    int row = 0;
    auto caption = [this](const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text, this);
        label->setBuddy(buddy);
        return label;
    };
    auto box = [this](const char* name) {
        auto* edit = named(new QLineEdit(this), name);
        edit->setMaximumWidth(90);
        return edit;
    };
    auto lengthRow = [&](const QString& text, QLineEdit* edit) {
        form->addWidget(caption(text, edit), row, 0);
        form->addWidget(edit, row, 1);
        auto* unit = new QLabel(this);
        unitLabels_.append(unit);
        form->addWidget(unit, row, 2);
        ++row;
    };

    txtSheetName_ = named(new QLineEdit(this), "txtSheetName");
    txtSheetName_->setMaxLength(60);
    form->addWidget(caption(QStringLiteral("N&ame:"), txtSheetName_), row, 0);
    form->addWidget(txtSheetName_, row, 1, 1, 2);
    ++row;

    auto* units = named(new QWidget(this), "frSheetUnits");
    auto* unitsLayout = new QHBoxLayout(units);
    unitsLayout->setContentsMargins(0, 0, 0, 0);
    optSheetInches_ = named(new QRadioButton(QStringLiteral("&Inches"), units), "optSheetInches");
    optSheetMm_ = named(new QRadioButton(QStringLiteral("&Millimetres"), units), "optSheetMm");
    unitsLayout->addWidget(optSheetInches_);
    unitsLayout->addWidget(optSheetMm_);
    unitsLayout->addStretch();
    form->addWidget(new QLabel(QStringLiteral("Units:"), this), row, 0);
    form->addWidget(units, row, 1, 1, 2);
    ++row;

    cboSheetPaper_ = named(new QComboBox(this), "cboSheetPaper");
    cboSheetPaper_->addItem(QStringLiteral("Letter (8.5 x 11 in)"), int(DesignPaper::Letter));
    cboSheetPaper_->addItem(QStringLiteral("A4 (210 x 297 mm)"), int(DesignPaper::A4));
    cboSheetPaper_->addItem(QStringLiteral("Other size"), int(DesignPaper::Custom));
    form->addWidget(caption(QStringLiteral("&Paper:"), cboSheetPaper_), row, 0);
    form->addWidget(cboSheetPaper_, row, 1, 1, 2);
    ++row;

    txtSheetPaperWidth_ = box("txtSheetPaperWidth");
    txtSheetPaperHeight_ = box("txtSheetPaperHeight");
    txtSheetLabelWidth_ = box("txtSheetLabelWidth");
    txtSheetLabelHeight_ = box("txtSheetLabelHeight");
    txtSheetColumns_ = box("txtSheetColumns");
    txtSheetRows_ = box("txtSheetRows");
    txtSheetLeft_ = box("txtSheetLeft");
    txtSheetTop_ = box("txtSheetTop");
    txtSheetPitchX_ = box("txtSheetPitchX");
    txtSheetPitchY_ = box("txtSheetPitchY");
    lengthRow(QStringLiteral("Paper wi&dth:"), txtSheetPaperWidth_);
    lengthRow(QStringLiteral("Paper hei&ght:"), txtSheetPaperHeight_);
    lengthRow(QStringLiteral("Label &width:"), txtSheetLabelWidth_);
    lengthRow(QStringLiteral("Label &height:"), txtSheetLabelHeight_);
    form->addWidget(caption(QStringLiteral("&Columns:"), txtSheetColumns_), row, 0);
    form->addWidget(txtSheetColumns_, row++, 1);
    form->addWidget(caption(QStringLiteral("&Rows:"), txtSheetRows_), row, 0);
    form->addWidget(txtSheetRows_, row++, 1);
    lengthRow(QStringLiteral("Le&ft edge to first label:"), txtSheetLeft_);
    lengthRow(QStringLiteral("&Top edge to first label:"), txtSheetTop_);
    lengthRow(QStringLiteral("Hori&zontal pitch:"), txtSheetPitchX_);
    lengthRow(QStringLiteral("&Vertical pitch:"), txtSheetPitchY_);
    // Kept to one line: a wrapped label in the grid is squeezed at the window's smallest height.
    left->addWidget(new QLabel(QStringLiteral("Pitch: from a label's edge to the same edge of the next one."), this));

    lblSheetProblem_ = named(new QLabel(this), "lblSheetProblem");
    lblSheetProblem_->setWordWrap(true);
    lblSheetProblem_->setMinimumHeight(2 * fontMetrics().lineSpacing() + 4);
    lblSheetProblem_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    left->addWidget(lblSheetProblem_);

    auto* yours = new QLabel(QStringLiteral("&Your sheets:"), this);
    lstSheets_ = named(new QListWidget(this), "lstSheets");
    lstSheets_->setMaximumHeight(5 * fontMetrics().lineSpacing() + 8);
    yours->setBuddy(lstSheets_);
    left->addWidget(yours);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(lstSheets_, 1);
    auto* listButtons = new QVBoxLayout;
    cmdSheetOpen_ = named(new QPushButton(QStringLiteral("&Open"), this), "cmdSheetOpen");
    cmdSheetDelete_ = named(new QPushButton(QStringLiteral("D&elete"), this), "cmdSheetDelete");
    for (QPushButton* b : {cmdSheetOpen_, cmdSheetDelete_}) {
        b->setEnabled(false);
        b->setAutoDefault(false);
    }
    listButtons->addWidget(cmdSheetOpen_);
    listButtons->addWidget(cmdSheetDelete_);
    listButtons->addStretch();
    listRow->addLayout(listButtons);
    left->addLayout(listRow);

    auto* buttons = new QHBoxLayout;
    cmdSheetNew_ = named(new QPushButton(QStringLiteral("&New"), this), "cmdSheetNew");
    cmdSheetSave_ = named(new QPushButton(QStringLiteral("&Save"), this), "cmdSheetSave");
    cmdSheetClose_ = named(new QPushButton(QStringLiteral("C&lose"), this), "cmdSheetClose");
    for (QPushButton* b : {cmdSheetNew_, cmdSheetSave_, cmdSheetClose_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->insertStretch(1);
    left->addLayout(buttons);

    picSheet_ = new SheetPicture(this);
    top->addWidget(picSheet_, 1);
}

SheetDesignText NewSheetDialog::typed() const {
    SheetDesignText t;
    t.name = txtSheetName_->text();
    t.unit = unit_;
    t.paper = DesignPaper(cboSheetPaper_->currentData().toInt());
    t.paperWidth = txtSheetPaperWidth_->text();
    t.paperHeight = txtSheetPaperHeight_->text();
    t.labelWidth = txtSheetLabelWidth_->text();
    t.labelHeight = txtSheetLabelHeight_->text();
    t.columns = txtSheetColumns_->text();
    t.rows = txtSheetRows_->text();
    t.left = txtSheetLeft_->text();
    t.top = txtSheetTop_->text();
    t.pitchX = txtSheetPitchX_->text();
    t.pitchY = txtSheetPitchY_->text();
    return t;
}

void NewSheetDialog::showText(const SheetDesignText& t) {
    showing_ = true;
    unit_ = t.unit;
    txtSheetName_->setText(t.name);
    (t.unit == LengthUnit::Millimetres ? optSheetMm_ : optSheetInches_)->setChecked(true);
    cboSheetPaper_->setCurrentIndex(cboSheetPaper_->findData(int(t.paper)));
    txtSheetPaperWidth_->setText(t.paperWidth);
    txtSheetPaperHeight_->setText(t.paperHeight);
    txtSheetLabelWidth_->setText(t.labelWidth);
    txtSheetLabelHeight_->setText(t.labelHeight);
    txtSheetColumns_->setText(t.columns);
    txtSheetRows_->setText(t.rows);
    txtSheetLeft_->setText(t.left);
    txtSheetTop_->setText(t.top);
    txtSheetPitchX_->setText(t.pitchX);
    txtSheetPitchY_->setText(t.pitchY);
    showing_ = false;
    showPaper();
    refresh();
}

void NewSheetDialog::showPaper() {
    // Letter and A4 show their own size; another size is typed.
    const SheetDesignText t = typed();
    const bool custom = t.paper == DesignPaper::Custom;
    if (!custom) {
        const SheetDesignText sized = convertedText(t, t.unit);
        const bool was = showing_;
        showing_ = true;
        txtSheetPaperWidth_->setText(sized.paperWidth);
        txtSheetPaperHeight_->setText(sized.paperHeight);
        showing_ = was;
    }
    txtSheetPaperWidth_->setEnabled(custom);
    txtSheetPaperHeight_->setEnabled(custom);
    for (QLabel* unit : unitLabels_) {
        unit->setText(unitSymbol(t.unit));
    }
}

void NewSheetDialog::refresh() {
    if (showing_) {
        return;
    }
    const ReadDesign read = readDesign(typed());
    const bool fine = read.problem.isEmpty();
    // The labels are drawn red when they are at fault, not for a missing name.
    SheetDesign named = read.design;
    named.name = QStringLiteral("Sheet");
    picSheet_->setDesign(read.design, designProblem(named).isEmpty());
    lblSheetProblem_->setText(fine ? QStringLiteral("%1 on the sheet.").arg(labelCountText(read.design.columns * read.design.rows))
                                   : read.problem);
    lblSheetProblem_->setStyleSheet(fine ? QString() : QStringLiteral("color: #b00000;"));
    cmdSheetSave_->setEnabled(fine);
}

void NewSheetDialog::fillSheetList() {
    lstSheets_->clear();
    lstSheets_->addItems(userSheetNames(folder_));
    cmdSheetOpen_->setEnabled(false);
    cmdSheetDelete_->setEnabled(false);
}

void NewSheetDialog::save() {
    const ReadDesign read = readDesign(typed());
    if (!read.problem.isEmpty()) {
        platform_.message(read.problem, kTitle, MessageIcon::Exclamation);
        return;
    }
    const SheetDesign& design = read.design;
    const QString path = sheetFilePath(folder_, design.name);
    if (design.name != opened_ && QFileInfo::exists(path)) {
        const MessageAnswer answer = platform_.message(
            QStringLiteral("You already have a sheet called \"%1\". Replace it with this one?").arg(design.name),
            kTitle, MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) {
            return;
        }
    }
    const bool saved = runCommand(platform_, policy::tryAgain(), [this, &design] { writeSheetFile(folder_, design); });
    if (!saved) {
        return;
    }
    opened_ = design.name;
    SheetLibrary::program().reload();  // the sheet lists follow the library
    platform_.message(QStringLiteral("The sheet \"%1\" is saved in %2.\n\nIt is now in the list of label sheets "
                                     "under its name, %1.")
                          .arg(design.name, QDir::toNativeSeparators(path)),
                      kTitle, MessageIcon::Information);
}

void NewSheetDialog::openSheet() {
    const QListWidgetItem* item = lstSheets_->currentItem();
    if (!item) {
        return;
    }
    const QString name = item->text();
    ReadSheetFile read;
    if (!runCommand(platform_, policy::tryAgain(), [this, &read, &name] { read = readSheetFile(folder_, name); })) {
        return;
    }
    if (!read.design) {
        platform_.message(QStringLiteral("The sheet \"%1\" cannot be edited here. %2").arg(name, read.problem), kTitle,
                          MessageIcon::Exclamation);
        return;
    }
    showText(designText(*read.design));
    opened_ = name;
}

void NewSheetDialog::deleteSheet() {
    const QListWidgetItem* item = lstSheets_->currentItem();
    if (!item) {
        return;
    }
    const QString name = item->text();
    const MessageAnswer answer = platform_.message(
        QStringLiteral("Delete the sheet \"%1\"? Its file %2 is deleted and the sheet leaves the list of label sheets.")
            .arg(name, QDir::toNativeSeparators(sheetFilePath(folder_, name))),
        kTitle, MessageIcon::Exclamation, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        return;
    }
    if (!runCommand(platform_, policy::tryAgain(), [this, &name] { deleteSheetFile(folder_, name); })) {
        return;
    }
    if (opened_ == name) {
        opened_.clear();
    }
    SheetLibrary::program().reload();
}

void NewSheetDialog::newSheet() {
    opened_.clear();
    showText(newDesignText(unit_));
    txtSheetName_->setFocus();
}

}  // namespace tandor
