#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QQueue>
#include <QString>
#include <functional>
#include <optional>

#include "platform/Platform.h"
#include "platform/RecordingSurface.h"

namespace tandor {

struct RecordedMessage {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

struct RecordedInput {
    QString prompt;
    QString title;
    QString defaultText;
};

struct PrintAnswer {
    bool cancel = false;
    int copies = 1;
    bool selection = false;
};

// A platform that answers from a script, in turn, and records everything it
// was asked: every message with its title, icon and buttons, every prompt,
// every dialog. With an empty script, a message box answers with its safe
// button (OK, No, Cancel), an input box and the open-file dialog are cancelled,
// and the print dialog prints one copy on the recording surface.
class ScriptedPlatform : public Platform {
public:
    ScriptedPlatform();

    // Script.
    void answerMessage(MessageAnswer answer) { messageAnswers_.enqueue(answer); }
    void answerInput(const QString& text) { inputAnswers_.enqueue(text); }
    // A file chosen in the next Open dialog, with the filter shown as it is
    // chosen (empty: the one the request showed first).
    void answerOpenFile(const QString& path, const QString& filter = {}) {
        openFileAnswers_.enqueue(path);
        openFileFilters_.enqueue(filter);
    }
    void answerPrint(const PrintAnswer& answer) { printAnswers_.enqueue(answer); }
    // A paper the user picks in the next print dialog (else it keeps the request's page).
    void pickPaper(PaperSize paper) { pickedPaper_ = paper; }
    void setPrinterName(const QString& name);
    void setToday(const QDate& date) { today_ = date; }
    // The surface the print dialog hands out (a RecordingSurface by default).
    void setPrintSurface(std::shared_ptr<PrintSurface> surface) { surface_ = std::move(surface); }
    // Makes the progress of each print job (none by default).
    std::function<std::unique_ptr<JobProgress>()> progressFactory;
    // Called as each message box is shown, before it is answered.
    std::function<void(const RecordedMessage&)> onMessage;
    // Called as each input box is shown; a returned text answers it (else the script does).
    std::function<std::optional<QString>(const RecordedInput&)> onInput;

    // What was asked.
    const QList<RecordedMessage>& messages() const { return messages_; }
    const QList<RecordedInput>& inputs() const { return inputs_; }
    const QList<OpenFileRequest>& openFileRequests() const { return openFileRequests_; }
    const QList<PrintDialogRequest>& printRequests() const { return printRequests_; }
    const QStringList& shellOpened() const { return shellOpened_; }
    const QMap<QString, QString>& settings() const { return settings_; }  // "Section/Key" -> value
    int beeps() const { return beeps_; }
    RecordingSurface* recording() const;  // the default surface
    void clearRecords();

    // Platform.
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString openFile(const OpenFileRequest& request) override;
    void beep() override { ++beeps_; }
    QString currentPrinterName() override { return printerName_; }
    PrintDialogResult printDialog(const PrintDialogRequest& request) override;
    // A fresh recording surface named as the current printer.
    std::shared_ptr<PrintSurface> previewSurface(const PrintDialogRequest& request) override;
    std::unique_ptr<JobProgress> jobProgress() override;
    void clearClipboard() override { clipboard_.clear(); }
    void setClipboardText(const QString& text) override { clipboard_ = text; }
    QString clipboardText() override { return clipboard_; }
    bool shellOpen(const QString& target) override {
        shellOpened_.append(target);
        return !shellOpenFails;
    }
    bool shellOpenFails = false;  // no handler for documents and web pages
    void writeSetting(const QString& section, const QString& key, const QString& value) override;
    QString readSetting(const QString& section, const QString& key) override {
        return settings_.value(section + QLatin1Char('/') + key);
    }
    QDate today() override { return today_; }
    void setBusy(bool busy) override { busy_ = busy; }
    bool busy() const { return busy_; }

private:
    QQueue<MessageAnswer> messageAnswers_;
    QQueue<QString> inputAnswers_;
    QQueue<QString> openFileAnswers_;
    QQueue<QString> openFileFilters_;
    QQueue<PrintAnswer> printAnswers_;
    std::optional<PaperSize> pickedPaper_;
    QList<RecordedMessage> messages_;
    QList<RecordedInput> inputs_;
    QList<OpenFileRequest> openFileRequests_;
    QList<PrintDialogRequest> printRequests_;
    QStringList shellOpened_;
    QMap<QString, QString> settings_;
    QString clipboard_;
    QString printerName_;
    QDate today_;
    int beeps_ = 0;
    bool busy_ = false;
    std::shared_ptr<PrintSurface> surface_;
    std::shared_ptr<RecordingSurface> recording_;
};

}  // namespace tandor
