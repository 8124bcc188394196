#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tandor {

class AppError;
class WindowHost;

// The import window frmLMImport: choose a CSV or vCard file, import it into
// the current contacts file, close. The import run itself is
// importContactsFile().
class ImportWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ImportWindow(WindowHost& host);

    // The window's text of the instructions (lblImpHdr).
    static const QString kInstructions;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void chooseFile();   // cmdCsvOpen
    void startImport();  // cmdStartImport
    void exitProgram();  // mnuITFileExit
    // The window's error routine around a handler.
    // The window's commands: the standard error message (naming the
    // product) with Retry and Cancel; Cancel closes the window.
    void guarded(const std::function<void()>& handler);

    WindowHost& host_;
    QString csvPath_;  // the chosen file, empty until one is chosen

    QLabel* lblImpHdr_ = nullptr;
    QPushButton* cmdCsvOpen_ = nullptr;
    QLineEdit* txtImpFilename_ = nullptr;
    QPushButton* cmdStartImport_ = nullptr;
    QPushButton* cmdImpCancel_ = nullptr;
    QAction* mnuITFileExit_ = nullptr;
};

}  // namespace tandor
