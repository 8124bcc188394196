#pragma once

#include <QPrinter>

class QDialog;
#include <memory>

#include "platform/Platform.h"

namespace tandor {

// The platform of the desktop: Qt's message and input boxes, file and print
// dialogs, clipboard, desktop services and QSettings.
class DesktopPlatform : public Platform {
public:
    DesktopPlatform();
    ~DesktopPlatform() override;

    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString password(const QString& prompt, const QString& title) override;
    QString openFile(const OpenFileRequest& request) override;
    void beep() override;
    QString currentPrinterName() override;
    PrintDialogResult printDialog(const PrintDialogRequest& request) override;
    std::shared_ptr<PrintSurface> previewSurface(const PrintDialogRequest& request) override;
    std::unique_ptr<JobProgress> jobProgress() override;
    void clearClipboard() override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    bool shellOpen(const QString& target) override;
    void writeSetting(const QString& section, const QString& key, const QString& value) override;
    QString readSetting(const QString& section, const QString& key) override;
    QDate today() override;
    void setBusy(bool busy) override;

    // "Data Files (*.DAT)|*.DAT" in the dialog's own form; patterns match both letter cases.
    static QString qtFilter(const QString& pairs);

    // Puts the page a kind of job prints on into a printer: the paper it
    // names, else the printer's own default paper, and its orientation.
    static void setJobPage(QPrinter& printer, const PageSetup& page);

    // The widest a message or input box lets its text run before wrapping, and
    // the width a box needs for its whole title on the window manager's title
    // bar (the title's text, the window icon and the title-bar buttons).
    static constexpr int kTextWrapWidth = 560;
    static int titleWidth(const QString& title);
    // Wraps the box's text and widens it for its title.
    static void fitBox(QDialog& box, const QString& title);

private:
    std::shared_ptr<QPrinter> printer_;
    int busyDepth_ = 0;
};

}  // namespace tandor
