#include "platform/ScriptedPlatform.h"

namespace tandor {

ScriptedPlatform::ScriptedPlatform()
    : printerName_(QStringLiteral("Recording Printer")),
      today_(QDate(2026, 3, 1)),
      recording_(std::make_shared<RecordingSurface>(QStringLiteral("Recording Printer"))) {
    surface_ = recording_;
}

void ScriptedPlatform::setPrinterName(const QString& name) {
    printerName_ = name;
    recording_->setDeviceName(name);
}

RecordingSurface* ScriptedPlatform::recording() const {
    return recording_.get();
}

void ScriptedPlatform::clearRecords() {
    messages_.clear();
    inputs_.clear();
    openFileRequests_.clear();
    printRequests_.clear();
    shellOpened_.clear();
    beeps_ = 0;
}

MessageAnswer ScriptedPlatform::message(const QString& text, const QString& title, MessageIcon icon,
                                        MessageButtons buttons) {
    const RecordedMessage recorded{text, title, icon, buttons};
    messages_.append(recorded);
    if (onMessage) {
        onMessage(recorded);
    }
    if (!messageAnswers_.isEmpty()) {
        return messageAnswers_.dequeue();
    }
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
        case MessageButtons::RetryCancel:
        case MessageButtons::PrintAnywayCancel:
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

QString ScriptedPlatform::input(const QString& prompt, const QString& title, const QString& defaultText) {
    const RecordedInput recorded{prompt, title, defaultText};
    inputs_.append(recorded);
    if (onInput) {
        if (std::optional<QString> answer = onInput(recorded)) {
            return *answer;
        }
    }
    return inputAnswers_.isEmpty() ? QString() : inputAnswers_.dequeue();
}

QString ScriptedPlatform::openFile(const OpenFileRequest& request) {
    openFileRequests_.append(request);
    if (openFileAnswers_.isEmpty()) {
        return {};
    }
    const QString path = openFileAnswers_.dequeue();
    const QString filter = openFileFilters_.dequeue();
    if (!path.isEmpty() && request.chosenFilter) {
        *request.chosenFilter = filter.isEmpty() ? request.selectedFilter : filter;
    }
    return path;
}

PrintDialogResult ScriptedPlatform::printDialog(const PrintDialogRequest& request) {
    printRequests_.append(request);
    const PrintAnswer answer = printAnswers_.isEmpty() ? PrintAnswer{} : printAnswers_.dequeue();
    PrintDialogResult result;
    result.cancelled = answer.cancel;
    result.copies = answer.copies;
    result.selection = answer.selection && request.offerSelection;
    if (!answer.cancel) {
        result.surface = surface_;
        // The dialog shows the request's page first; a paper picked in it holds for this job.
        if (surface_ == recording_) {
            recording_->setDevicePaper(pickedPaper_.value_or(request.page.paper.value_or(PaperSize::Letter)));
        }
        pickedPaper_.reset();
    }
    return result;
}

std::shared_ptr<PrintSurface> ScriptedPlatform::previewSurface(const PrintDialogRequest& request) {
    auto surface = std::make_shared<RecordingSurface>(printerName_);
    surface->setDevicePaper(request.page.paper.value_or(PaperSize::Letter));
    return surface;
}

std::unique_ptr<JobProgress> ScriptedPlatform::jobProgress() {
    return progressFactory ? progressFactory() : nullptr;
}

void ScriptedPlatform::writeSetting(const QString& section, const QString& key, const QString& value) {
    settings_.insert(section + QLatin1Char('/') + key, value);
}

}  // namespace tandor
