#pragma once

#include <QPrinter>
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
    QString openFile(const OpenFileRequest& request) override;
    void beep() override;
    QString currentPrinterName() override;
    PrintDialogResult printDialog(const PrintDialogRequest& request) override;
    void clearClipboard() override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    void shellOpen(const QString& target) override;
    void writeSetting(const QString& section, const QString& key, const QString& value) override;
    QString readSetting(const QString& section, const QString& key) override;
    QDate today() override;
    void setBusy(bool busy) override;

    // "Data Files (*.DAT)|*.DAT" in the dialog's own form; patterns match both letter cases.
    static QString qtFilter(const QString& pairs);

private:
    std::shared_ptr<QPrinter> printer_;
    int busyDepth_ = 0;
};

}  // namespace tandor
