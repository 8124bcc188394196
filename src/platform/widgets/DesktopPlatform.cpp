#include "platform/widgets/DesktopPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QPrinterInfo>
#include <QSettings>
#include <QUrl>

#include "platform/PrinterSurface.h"
#include "platform/widgets/JobProgressDialog.h"

#include <algorithm>

namespace tandor {

DesktopPlatform::DesktopPlatform() : printer_(std::make_shared<QPrinter>(QPrinter::HighResolution)) {}

DesktopPlatform::~DesktopPlatform() = default;

MessageAnswer DesktopPlatform::message(const QString& text, const QString& title, MessageIcon icon,
                                       MessageButtons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    // The text can be selected and copied (a path or address in a message).
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
    }
    QAbstractButton* printAnyway = nullptr;
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MessageButtons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        case MessageButtons::PrintAnywayCancel:
            printAnyway = box.addButton(QStringLiteral("Print Anyway"), QMessageBox::AcceptRole);
            box.setStandardButtons(QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Cancel);
            break;
    }
    fitBox(box, title);
    const int pressed = box.exec();
    if (printAnyway != nullptr && box.clickedButton() == printAnyway) {
        return MessageAnswer::PrintAnyway;
    }
    switch (pressed) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        case QMessageBox::Retry:
            return MessageAnswer::Retry;
        default:
            break;
    }
    if (buttons == MessageButtons::RetryCancel || buttons == MessageButtons::YesNoCancel ||
        buttons == MessageButtons::PrintAnywayCancel) {
        return MessageAnswer::Cancel;  // closed by its title-bar button
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

QString DesktopPlatform::input(const QString& prompt, const QString& title, const QString& defaultText) {
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setInputMode(QInputDialog::TextInput);
    fitBox(box, title);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

QString DesktopPlatform::password(const QString& prompt, const QString& title) {
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextEchoMode(QLineEdit::Password);
    fitBox(box, title);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

int DesktopPlatform::titleWidth(const QString& title) {
    // Window managers draw titles a little larger and bolder than the
    // application's text; the icon and three buttons take about 130 pixels.
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    return QFontMetrics(font).horizontalAdvance(title) + 130;
}

void DesktopPlatform::fitBox(QDialog& box, const QString& title) {
    // Both boxes size themselves from their layouts: the title's width goes
    // into the layout, as the text's least width or as an empty row.
    const QMargins margins = box.layout() ? box.layout()->contentsMargins() : QMargins();
    const int titleRoom = titleWidth(title) - margins.left() - margins.right() + 4;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->pixmap().isNull()) {
            continue;  // the icon
        }
        const int natural =
            label->fontMetrics().boundingRect(QRect(0, 0, 100000, 100000), 0, label->text()).width();
        const int least = std::min(natural + 2, kTextWrapWidth);
        label->setWordWrap(true);
        label->setMinimumWidth(grid ? least : std::max(least, titleRoom));
        label->setMaximumWidth(std::max(kTextWrapWidth, grid ? 0 : titleRoom));
    }
    if (grid) {
        grid->addItem(new QSpacerItem(titleRoom, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.adjustSize();
}

QString DesktopPlatform::qtFilter(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        const QString pattern = parts[i + 1];
        QStringList patterns = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QStringList both;
        for (const QString& p : patterns) {
            both << p;
            if (p.toLower() != p) {
                both << p.toLower();
            }
        }
        // Keep the caption as written; the patterns go in parentheses after it.
        const qsizetype paren = caption.indexOf(QLatin1Char('('));
        if (paren >= 0) {
            caption = caption.left(paren).trimmed();
        }
        filters << caption + QStringLiteral(" (") + both.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString DesktopPlatform::openFile(const OpenFileRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.startFolder);
    QStringList filters = qtFilter(request.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (request.offerAllFiles) {
        filters << QStringLiteral("All Files (*)");
    }
    dialog.setNameFilters(filters);
    // The captions of `filter`, in the order of the dialog's filters.
    QStringList captions;
    const QStringList parts = request.filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        captions << parts[i];
    }
    const qsizetype shown = captions.indexOf(request.selectedFilter);
    if (!request.selectedFilter.isEmpty() && shown >= 0 && shown < filters.size()) {
        dialog.selectNameFilter(filters[shown]);
    }
    if (request.acceptNewName) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (request.chosenFilter && chosen >= 0 && chosen < captions.size()) {
        *request.chosenFilter = captions[chosen];
    }
    return dialog.selectedFiles().constFirst();
}

void DesktopPlatform::beep() {
    QApplication::beep();
}

QString DesktopPlatform::currentPrinterName() {
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        return QStringLiteral("PDF");
    }
    return printer_->printerName();
}

void DesktopPlatform::setJobPage(QPrinter& printer, const PageSetup& page) {
    QPageSize size;
    if (page.paper) {
        size = QPageSize(*page.paper == PaperSize::Envelope10 ? QPageSize::Envelope10 : QPageSize::Letter);
    } else if (printer.outputFormat() == QPrinter::NativeFormat) {
        size = QPrinterInfo(printer).defaultPageSize();
    }
    if (!size.isValid()) {
        size = QPageSize(QPageSize::Letter);  // a PDF file's own paper
    }
    printer.setPageSize(size);
    printer.setPageOrientation(page.orientation == PageOrientation::Portrait ? QPageLayout::Portrait
                                                                             : QPageLayout::Landscape);
}

std::shared_ptr<PrintSurface> DesktopPlatform::previewSurface(const PrintDialogRequest& request) {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    if (printer_->outputFormat() == QPrinter::PdfFormat || printer_->printerName().isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer->setPrinterName(printer_->printerName());
    }
    setJobPage(*printer, request.page);
    return std::make_shared<PrinterSurface>(printer);
}

std::unique_ptr<JobProgress> DesktopPlatform::jobProgress() {
    return std::make_unique<JobProgressDialog>(QApplication::activeWindow());
}

PrintDialogResult DesktopPlatform::printDialog(const PrintDialogRequest& request) {
    PrintDialogResult result;
    printer_->setCopyCount(1);
    // Each dialog starts from the page of its own kind of job: what was picked
    // in an earlier dialog does not carry over.
    setJobPage(*printer_, request.page);
    QPrintDialog dialog(printer_.get(), QApplication::activeWindow());
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                       QAbstractPrintDialog::PrintShowPageSize |
                                                       QAbstractPrintDialog::PrintCollateCopies;
    // Printing to a PDF file stays available in every dialog: on this desktop it
    // is the PDF printer, and the only way to print without a physical printer.
    if (request.offerSelection) {
        options |= QAbstractPrintDialog::PrintSelection;
    }
    if (request.maxPage > 0) {
        options |= QAbstractPrintDialog::PrintPageRange;
        dialog.setMinMax(request.minPage, request.maxPage);
        dialog.setFromTo(request.fromPage, request.toPage);
    }
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted) {
        return result;
    }
    result.cancelled = false;
    result.copies = std::max(1, printer_->copyCount());
    result.selection = request.offerSelection && printer_->printRange() == QPrinter::Selection;
    result.surface = std::make_shared<PrinterSurface>(printer_);
    return result;
}

void DesktopPlatform::clearClipboard() {
    QGuiApplication::clipboard()->clear();
}

void DesktopPlatform::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString DesktopPlatform::clipboardText() {
    return QGuiApplication::clipboard()->text();
}

bool DesktopPlatform::shellOpen(const QString& target) {
    const bool web = target.contains(QStringLiteral("://"));
    if (!web && !QFileInfo::exists(target)) {
        return false;
    }
    return QDesktopServices::openUrl(web ? QUrl(target) : QUrl::fromLocalFile(target));
}

void DesktopPlatform::writeSetting(const QString& section, const QString& key, const QString& value) {
    QSettings settings(QStringLiteral("Tandor"), QStringLiteral("Tandor"));
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
}

QString DesktopPlatform::readSetting(const QString& section, const QString& key) {
    QSettings settings(QStringLiteral("Tandor"), QStringLiteral("Tandor"));
    settings.beginGroup(section);
    const QString value = settings.value(key).toString();
    settings.endGroup();
    return value;
}

QDate DesktopPlatform::today() {
    return QDate::currentDate();
}

void DesktopPlatform::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else {
        while (busyDepth_ > 0) {
            QApplication::restoreOverrideCursor();
            --busyDepth_;
        }
    }
}

}  // namespace tandor
