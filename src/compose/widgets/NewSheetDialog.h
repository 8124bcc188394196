#pragma once

#include <QDialog>

#include "sheets/SheetDesign.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tandor {

class Platform;
class WindowHost;
class SheetPicture;

// Margins > New Label Sheet...: the user describes a sheet of labels (name,
// paper, label size, columns and rows, the first label's offsets, the pitch)
// in inches or millimetres, sees it drawn to scale as they type and saves it
// as a label-template file in their own sheets folder. Their saved sheets are
// listed to open for editing or delete. Save stays disabled, with the reason
// shown, while the sheet is not one that can be printed on.
class NewSheetDialog : public QDialog {
    Q_OBJECT

public:
    NewSheetDialog(WindowHost& host, const QString& folder, QWidget* parent = nullptr);

    const QString& folder() const { return folder_; }

private:
    void buildControls();
    SheetDesignText typed() const;
    void showText(const SheetDesignText& text);
    void showPaper();
    void refresh();
    void fillSheetList();
    void save();
    void openSheet();
    void deleteSheet();
    void newSheet();

    WindowHost& host_;
    Platform& platform_;
    QString folder_;
    QString opened_;  // the name of the sheet opened for editing; empty for a new one
    bool showing_ = false;
    LengthUnit unit_ = LengthUnit::Inches;  // the unit of the lengths shown

    QLineEdit* txtSheetName_ = nullptr;
    QRadioButton* optSheetInches_ = nullptr;
    QRadioButton* optSheetMm_ = nullptr;
    QComboBox* cboSheetPaper_ = nullptr;
    QLineEdit* txtSheetPaperWidth_ = nullptr;
    QLineEdit* txtSheetPaperHeight_ = nullptr;
    QLineEdit* txtSheetLabelWidth_ = nullptr;
    QLineEdit* txtSheetLabelHeight_ = nullptr;
    QLineEdit* txtSheetColumns_ = nullptr;
    QLineEdit* txtSheetRows_ = nullptr;
    QLineEdit* txtSheetLeft_ = nullptr;
    QLineEdit* txtSheetTop_ = nullptr;
    QLineEdit* txtSheetPitchX_ = nullptr;
    QLineEdit* txtSheetPitchY_ = nullptr;
    QList<QLabel*> unitLabels_;
    QLabel* lblSheetProblem_ = nullptr;
    SheetPicture* picSheet_ = nullptr;
    QListWidget* lstSheets_ = nullptr;
    QPushButton* cmdSheetOpen_ = nullptr;
    QPushButton* cmdSheetDelete_ = nullptr;
    QPushButton* cmdSheetNew_ = nullptr;
    QPushButton* cmdSheetSave_ = nullptr;
    QPushButton* cmdSheetClose_ = nullptr;
};

}  // namespace tandor
