#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrinter>

#include "platform/PrintGrid.h"
#include "platform/PrinterSurface.h"
#include "support/PdfWords.h"
#include "support/TestFiles.h"

using namespace tandor;
using test::TempFolder;

namespace {

// A PDF printer left at the page size its user chose.
std::shared_ptr<QPrinter> pdfPrinter(const QString& path, QPageSize::PageSizeId size) {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(size));
    return printer;
}

void printDocument(PrintSurface& surface, PageOrientation orientation,
                   std::optional<PaperSize> paper) {
    surface.setOrientation(orientation);
    if (paper) {
        surface.setPaperSize(*paper);
    }
    surface.printAt(1, QStringLiteral("Tandor"));
    surface.endDocument();
}

// Page sizes in inches, as the PDF gives them.
void expectPage(const test::Page& page, double width, double height) {
    EXPECT_NEAR(page.width, width, 0.01);
    EXPECT_NEAR(page.height, height, 0.01);
}

}  // namespace

class PrinterSurfacePaper : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::havePdfToText()) {
            GTEST_SKIP()
                << "pdftotext (poppler-utils) is not installed: the page sizes cannot be read";
        }
    }
    TempFolder folder;
};

TEST_F(PrinterSurfacePaper, ADocumentWithoutAPaperSizeKeepsThePrintersOwnPage) {
    const QString pdf = folder.file("a4.pdf");
    auto printer = pdfPrinter(pdf, QPageSize::A4);
    {
        PrinterSurface surface(printer);
        printDocument(surface, PageOrientation::Landscape, std::nullopt);
        printDocument(surface, PageOrientation::Landscape, PaperSize::Envelope10);
        printDocument(surface, PageOrientation::Portrait, std::nullopt);
        printDocument(surface, PageOrientation::Portrait, PaperSize::Letter);
        ASSERT_TRUE(surface.finish());
    }
    const std::vector<test::Page> pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 4u);
    expectPage(pages[0], 11.69, 8.27);
    expectPage(pages[1], 9.5, 4.125);
    expectPage(pages[2], 8.27, 11.69);  // the envelope of the document before does not stay
    expectPage(pages[3], 8.5, 11.0);
    // The printer goes back to its own page for the next print dialog.
    EXPECT_EQ(printer->pageLayout().pageSize().id(), QPageSize::A4);
}

TEST_F(PrinterSurfacePaper, APdfFileIsLetterUnlessADocumentSetsTheEnvelope) {
    const QString pdf = folder.file("letter.pdf");
    {
        auto surface = PrinterSurface::forPdf(pdf);
        printDocument(*surface, PageOrientation::Portrait, std::nullopt);
        printDocument(*surface, PageOrientation::Landscape, std::nullopt);
        printDocument(*surface, PageOrientation::Landscape, PaperSize::Envelope10);
    }
    const std::vector<test::Page> pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 3u);
    expectPage(pages[0], 8.5, 11.0);
    expectPage(pages[1], 11.0, 8.5);
    expectPage(pages[2], 9.5, 4.125);
}

// The grid breaks pages at the printable height of the page the document is
// printed on: the printer's own page unless the document set a size.
TEST(PrinterSurface, ThePrintableHeightIsThatOfThePageInUse) {
    TempFolder folder;
    const double letterHeight =
        printgrid::pdfPrintableSize(PaperSize::Letter, PageOrientation::Portrait).height();
    const int perLetterPage = static_cast<int>(letterHeight / printgrid::lineHeight(10));
    auto pagesPrinted = [&](std::shared_ptr<PrinterSurface> surface,
                            std::optional<PaperSize> paper) {
        surface->setFontSize(10);
        if (paper) {
            surface->setPaperSize(*paper);
        }
        for (int i = 1; i <= perLetterPage + 1; ++i) {
            surface->printAt(1, QString::number(i));
        }
        surface->endDocument();
        surface->finish();
        return surface->pagesPrinted();
    };
    EXPECT_EQ(pagesPrinted(PrinterSurface::forPdf(folder.file("1.pdf")), std::nullopt), 2);
    const auto a4 = [&](const char* name) {
        return std::make_shared<PrinterSurface>(pdfPrinter(folder.file(name), QPageSize::A4));
    };
    EXPECT_EQ(pagesPrinted(a4("2.pdf"), std::nullopt), 1)
        << "an A4 page is longer than a Letter page";
    EXPECT_EQ(pagesPrinted(a4("3.pdf"), PaperSize::Letter), 2);
}
