#pragma once

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

#include "platform/PrintSurface.h"

namespace tandor {

enum class MessageIcon { None, Information, Exclamation };
// PrintAnywayCancel: "Print Anyway" and "Cancel", answered PrintAnyway or Cancel.
enum class MessageButtons { Ok, YesNo, YesNoCancel, RetryCancel, PrintAnywayCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel, Retry, PrintAnyway };

struct OpenFileRequest {
    QString title;
    QString startFolder;    // empty: the platform's choice
    QString filter;         // "|"-separated pairs: "Data Files (*.DAT)|*.DAT"
    bool acceptNewName = false;  // File New accepts a name that does not exist yet
    QString defaultSuffix;  // added to a name typed without an extension ("DAT")
    bool offerAllFiles = false;  // "All Files (*)" offered after the filter
    // The filter shown first, by its caption in `filter` ("vCard Files
    // (*.VCF;*.VCARD)"); empty or not in `filter`: the first.
    QString selectedFilter;
    // When set, receives the caption of the filter shown as a file is chosen
    // (left alone when none is chosen, or for "All Files (*)" of offerAllFiles).
    QString* chosenFilter = nullptr;
};

// The paper and orientation a kind of job prints on: what its print dialog
// shows first. A choice made in the dialog holds for that job only.
struct PageSetup {
    std::optional<PaperSize> paper;  // none: the printer's own paper
    PageOrientation orientation = PageOrientation::Portrait;
};

struct PrintDialogRequest {
    PageSetup page;
    bool offerSelection = false;    // offer the "Selection" choice
    bool disablePrintToFile = false;  // asked by the command; PDF output stays available
    int minPage = 0;  // 0: no page range offered
    int maxPage = 0;
    int fromPage = 0;
    int toPage = 0;
};

struct PrintDialogResult {
    bool cancelled = true;
    int copies = 1;
    bool selection = false;
    std::shared_ptr<PrintSurface> surface;  // the chosen printer, for this command
};

// The progress of a long print job: pages done out of a total (0 while the
// total is not known yet). False when the user asked to cancel.
class JobProgress {
public:
    virtual ~JobProgress() = default;
    virtual bool pagesDone(int done, int total) = 0;
};

// Everything the program asks of the desktop: message and input boxes, the
// open-file and print dialogs, the beep, the clipboard, opening documents and
// web pages, the settings store and today's date. Windows and commands call
// only this; tests answer it from a script.
class Platform {
public:
    virtual ~Platform() = default;

    virtual MessageAnswer message(const QString& text, const QString& title,
                                  MessageIcon icon = MessageIcon::None,
                                  MessageButtons buttons = MessageButtons::Ok) = 0;
    // The typed text, or an empty text when cancelled.
    virtual QString input(const QString& prompt, const QString& title,
                          const QString& defaultText = {}) = 0;
    // A password, typed hidden; an empty text when cancelled. A platform
    // without a hidden box asks with its input box.
    virtual QString password(const QString& prompt, const QString& title) { return input(prompt, title); }
    // The chosen full path, or an empty text when cancelled.
    virtual QString openFile(const OpenFileRequest& request) = 0;
    virtual void beep() = 0;

    // The device name of the printer that is current now (before any dialog).
    virtual QString currentPrinterName() = 0;
    virtual PrintDialogResult printDialog(const PrintDialogRequest& request) = 0;
    // A surface for the current printer with the request's page, for a
    // preview: nothing composed on it is ever sent to the printer.
    virtual std::shared_ptr<PrintSurface> previewSurface(const PrintDialogRequest& request) = 0;
    // The progress shown while a print job runs (none: no progress is shown).
    virtual std::unique_ptr<JobProgress> jobProgress() { return nullptr; }

    virtual void clearClipboard() = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual QString clipboardText() = 0;

    // Opens a document or web address with its default handler. False when no
    // handler could be started (or the document is missing).
    virtual bool shellOpen(const QString& target) = 0;

    // The per-user settings store. The window placement is only written; the
    // chosen label sheet is read back at start-up (empty when never written).
    virtual void writeSetting(const QString& section, const QString& key, const QString& value) = 0;
    virtual QString readSetting(const QString& section, const QString& key) = 0;

    virtual QDate today() = 0;
    virtual void setBusy(bool busy) = 0;
};

}  // namespace tandor
