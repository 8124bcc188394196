#include "platform/widgets/DesktopPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QSettings>
#include <QUrl>

#include "platform/PrinterSurface.h"

namespace tandor {

DesktopPlatform::DesktopPlatform() : printer_(std::make_shared<QPrinter>(QPrinter::HighResolution)) {}

DesktopPlatform::~DesktopPlatform() = default;

MessageAnswer DesktopPlatform::message(const QString& text, const QString& title, MessageIcon icon,
                                       MessageButtons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
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
    }
    switch (box.exec()) {
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
    if (buttons == MessageButtons::RetryCancel || buttons == MessageButtons::YesNoCancel) {
        return MessageAnswer::Cancel;  // closed by its title-bar button
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

QString DesktopPlatform::input(const QString& prompt, const QString& title, const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
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
    QWidget* parent = QApplication::activeWindow();
    if (request.acceptNewName) {
        return QFileDialog::getSaveFileName(parent, request.title, request.startFolder, qtFilter(request.filter),
                                            nullptr, QFileDialog::DontConfirmOverwrite);
    }
    return QFileDialog::getOpenFileName(parent, request.title, request.startFolder, qtFilter(request.filter));
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

PrintDialogResult DesktopPlatform::printDialog(const PrintDialogRequest& request) {
    PrintDialogResult result;
    printer_->setCopyCount(1);
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

void DesktopPlatform::shellOpen(const QString& target) {
    const QUrl url = target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
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
