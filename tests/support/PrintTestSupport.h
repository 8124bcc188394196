#pragma once

#include <QPageSize>
#include <QPrinter>
#include <QStringList>
#include <ostream>

#include "platform/PrinterSurface.h"
#include "platform/ScriptedPlatform.h"
#include "compose/Composition.h"
#include "compose/PrintCommand.h"
#include "compose/widgets/LabelPositionCommand.h"
#include "support/TestFiles.h"

namespace tandor::test {

// The main window's composition with a program folder holding TDRPARAM.TXT.
struct PrintBench {
    TempFolder folder;
    QString programFolder = folder.withDefaultAdjustments();
    CompositionState state;
    ScriptedPlatform platform;

    PrintBench() {
        composition::startUp(state);
        state.lines = {"John Q. Smith", "1234 Main Street", "", "Springfield, IL  62704", ""};
    }

    // Label stock clicked and the position prompt answered.
    void chooseLabel(const QString& position) {
        platform.answerInput(position);
        composition::clickLabel(state);
        askLabelPosition(state, platform);
        platform.clearRecords();
    }
    // An envelope size chosen in the list, then Envelope clicked.
    void chooseEnvelope(int code) {
        composition::chooseEnvelopeSize(state, code - 1);
        composition::clickEnvelope(state);
    }
    void setAdjustments(const QByteArray& file) {
        folder.write(QStringLiteral("TDRPARAM.TXT"), file);
    }
    void print() { runPrintCommand(state, platform, programFolder); }
    RecordingSurface& surface() { return *platform.recording(); }
    const QStringList& ops() { return surface().operations(); }
};

// A PDF printer preset to a page size, as a user may leave a printer, handed
// out under a printer's name (the name decides whether it is a shifted model).
class NamedPdfSurface : public PrinterSurface {
public:
    NamedPdfSurface(const QString& path, QPageSize::PageSizeId size, QString name)
        : PrinterSurface(pdfPrinter(path, size)), name_(std::move(name)) {}
    QString deviceName() const override { return name_; }

private:
    static std::shared_ptr<QPrinter> pdfPrinter(const QString& path, QPageSize::PageSizeId size) {
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        printer->setPageSize(QPageSize(size));
        return printer;
    }
    QString name_;
};

// A record of TDRPARAM.TXT: the name, the left and the top adjustment.
inline QByteArray slot(const char* name, const char* left, const char* top, const char* sep = " ",
                const QByteArray& tail = "\r\n") {
    QByteArray s = QByteArray(name).leftJustified(8, ' ');
    s += sep;
    s += QByteArray(left).leftJustified(3, ' ');
    s += sep;
    s += QByteArray(top).leftJustified(3, ' ');
    s += tail;
    return s;
}

inline QStringList repeated(const QString& op, int count) {
    return QStringList(count, op);
}

}  // namespace tandor::test

// Readable test failures for texts and lists of texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
