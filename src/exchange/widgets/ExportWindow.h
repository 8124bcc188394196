#pragma once

#include <QMainWindow>
#include <QString>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tandor {

class WindowHost;

// The export window frmLMExport: choose CSV or text, write every contact of
// the current file to the export file beside it (in the program folder for a
// file there). The writing
// itself is exportContacts().
class ExportWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ExportWindow(WindowHost& host);

    // The text of lblExport.
    static const QString kInstructions;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void createExport();  // cmdExpCreate
    void exitProgram();   // mnuETFileExit

    WindowHost& host_;

    QGroupBox* frExpOptions_ = nullptr;
    QRadioButton* optExpCGCSV_ = nullptr;
    QRadioButton* optExpCGTXT_ = nullptr;
    QRadioButton* optExpCGVCF_ = nullptr;
    QPushButton* cmdExpCreate_ = nullptr;
    QPushButton* cmdExpCancel_ = nullptr;
    QLabel* lblExport_ = nullptr;
    QLabel* lblExpBanner_ = nullptr;
    QAction* mnuETFileExit_ = nullptr;
};

}  // namespace tandor
