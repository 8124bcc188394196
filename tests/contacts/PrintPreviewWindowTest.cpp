// Print Preview from the three windows that print: what it shows, its
// controls, and that opening it changes nothing.
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "ContactWindowFixture.h"
#include "print/widgets/PrintPreviewDialog.h"

using namespace tandor;
using namespace tandor::test;

namespace {

class PrintPreviewWindowTest : public ContactWindowTest {
protected:
    // Triggers the action, looks at the preview while it is open, then closes it with a key.
    void inPreview(QAction* action, const std::function<void(PrintPreviewDialog&)>& look,
                   QKeySequence closeWith = QKeySequence(Qt::Key_Escape)) {
        ASSERT_NE(action, nullptr);
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* d = qobject_cast<PrintPreviewDialog*>(QApplication::activeModalWidget());
            if (d == nullptr || seen) {
                return;
            }
            seen = true;
            poll.stop();
            look(*d);
            QTest::keySequence(d, closeWith);
            if (d->isVisible()) {
                ADD_FAILURE() << "the key did not close the preview";
                d->reject();
            }
        });
        poll.start();
        action->trigger();
        EXPECT_TRUE(seen) << action->objectName().toStdString();
        settle();
    }
    void typeLines(const QStringList& lines) {
        const char* names[] = {"txtLMLine1", "txtLMLine2", "txtLMline3", "txtLMLine4", "txtLMLine5"};
        for (int i = 0; i < lines.size(); ++i) {
            mainChild<QLineEdit>(names[i])->setText(lines[i]);
        }
    }
};

// Whether a faint outline passes near a point of the page as drawn on screen.
bool outlineNear(const QImage& image, QPointF at) {
    for (int dx = -2; dx <= 2; ++dx) {
        for (int dy = -2; dy <= 2; ++dy) {
            const QRgb p = image.pixel(qRound(at.x()) + dx, qRound(at.y()) + dy);
            if (qGray(p) < 245 && qGray(p) > 150) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST_F(PrintPreviewWindowTest, TheMainWindowPreviewsTheSheetWithItsOutlinesAndChangesNothing) {
    typeLines({"John Q. Smith", "1234 Main Street", "Springfield, IL  62704"});
    platform.answerInput("1-30");
    mainChild<QRadioButton>("optLMLabel")->click();
    const CompositionState before = main.composition();
    platform.clearRecords();

    inPreview(mainChild<QAction>("mnuFilePreview"), [](PrintPreviewDialog& d) {
        EXPECT_TRUE(d.windowTitle().contains("Print Preview"));
        ASSERT_EQ(d.pageCount(), 1);
        EXPECT_EQ(d.findChild<QLabel*>("lblPreviewPage")->text(), "Page 1 of 1");
        EXPECT_EQ(d.pages()[0].page.texts.size(), 90u);
        ASSERT_EQ(d.pages()[0].labelOutlines.size(), 30u);

        // Every label's left edge shows on screen, faintly.
        QWidget* view = d.findChild<QWidget*>("previewPage");
        const QImage image = view->grab().toImage();
        const double perPoint = d.zoom() * view->logicalDpiY() / 72.0;
        for (const QRectF& r : d.pages()[0].labelOutlines) {
            EXPECT_TRUE(outlineNear(image, QPointF(16, 16) + QPointF(r.left(), r.center().y()) * perPoint));
        }
        EXPECT_GE(d.pagesDrawn(), 1);

        const double fit = d.zoom();
        QTest::keyClick(&d, Qt::Key_Plus);
        EXPECT_GT(d.zoom(), fit);
        d.findChild<QToolButton*>("cmdPreviewActual")->click();
        EXPECT_DOUBLE_EQ(d.zoom(), 1.0);
        d.findChild<QToolButton*>("cmdPreviewFit")->click();
        EXPECT_DOUBLE_EQ(d.zoom(), fit);
        QTest::keyClick(&d, Qt::Key_PageDown);  // a single page stays put
        EXPECT_EQ(d.currentPage(), 0);
    });
    EXPECT_TRUE(main.composition() == before);
    EXPECT_TRUE(platform.printRequests().isEmpty());
    EXPECT_TRUE(platform.recording()->documents().empty());

    // Ctrl+P prints through the window's own command.
    inPreview(mainChild<QAction>("mnuFilePreview"), [](PrintPreviewDialog&) {}, QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(platform.printRequests().size(), 1);
    ASSERT_EQ(platform.recording()->documents().size(), 1u);
    EXPECT_EQ(platform.recording()->documents()[0].pages[0].texts.size(), 90u);
}

TEST_F(PrintPreviewWindowTest, TheListAndTheBrowserPreviewWhatTheyPrint) {
    QList<QByteArray> records;
    for (int i = 0; i < 64; ++i) {
        records << contact({{"FName", "Ann" + QByteArray::number(i)}, {"LName", "Lee"}, {"City", "Reno"}});
    }
    openFile(records);
    trigger("mnuSrchContacts");
    QWidget* list = window("frmViewAll");
    ASSERT_NE(list, nullptr);
    child<QPushButton>(list, "cmdACGetReport")->click();
    platform.clearRecords();

    inPreview(child<QAction>(list, "mnuLabelPreview"), [](PrintPreviewDialog& d) {
        ASSERT_EQ(d.pageCount(), 3);  // 64 labels: 30 a sheet
        EXPECT_EQ(d.pages()[0].labelOutlines.size(), 30u);
        QTest::keyClick(&d, Qt::Key_PageDown);
        QTest::keyClick(&d, Qt::Key_PageDown);
        QTest::keyClick(&d, Qt::Key_PageDown);
        EXPECT_EQ(d.currentPage(), 2);
        EXPECT_EQ(d.findChild<QLabel*>("lblPreviewPage")->text(), "Page 3 of 3");
        QTest::keyClick(&d, Qt::Key_PageUp);
        EXPECT_EQ(d.currentPage(), 1);
    });
    inPreview(child<QAction>(list, "mnuPreview"), [](PrintPreviewDialog& d) {
        ASSERT_EQ(d.pageCount(), 2);  // the printed list: 64 lines in landscape
        EXPECT_EQ(d.pages()[0].page.orientation, PageOrientation::Landscape);
        EXPECT_TRUE(d.pages()[0].labelOutlines.empty());
    });
    EXPECT_TRUE(platform.printRequests().isEmpty());
    list->close();
    settle();

    shell.openBrowser(2);
    QWidget* browser = window("frmEdDelViewContact");
    ASSERT_NE(browser, nullptr);
    inPreview(child<QAction>(browser, "mnuEDVPreview"), [](PrintPreviewDialog& d) {
        ASSERT_EQ(d.pageCount(), 1);
        QStringList texts;
        for (const PlacedText& t : d.pages()[0].page.texts) {
            texts << t.text;
        }
        EXPECT_TRUE(texts.contains("Contact Details"));
        EXPECT_TRUE(texts.contains("Ann1  Lee")) << texts.join('|').toStdString();
    });
    EXPECT_TRUE(platform.printRequests().isEmpty());
    EXPECT_TRUE(platform.recording()->documents().empty());
}

// A page with rules draws its texts on the printable area too: the painting of
// the rules leaves the preview's shift to the printable area (and its clip to
// the paper) in place for the texts after them.
TEST_F(PrintPreviewWindowTest, APageWithRulesDrawsItsInkWhereThePageSays) {
    PreviewPage p;
    p.geometry = {QSizeF(612, 792), QRectF(18, 4, 576, 781), false};
    p.page.rules = {QLineF(50, 200, 300, 200)};
    PlacedText text;
    text.xPt = 100;
    text.yPt = 100;
    text.text = QStringLiteral("MMMMMMMM");
    text.font.size = 20;
    p.page.texts = {text};
    PrintPreviewDialog d({p});
    d.show();
    d.actualSize();
    settle();
    QWidget* view = d.findChild<QWidget*>("previewPage");
    const QImage image = view->grab().toImage();
    const double perPoint = d.zoom() * view->logicalDpiY() / 72.0;
    const QPointF origin = QPointF(16, 16) + p.geometry.printable.topLeft() * perPoint;
    const auto onScreen = [&](const QRectF& pt) {
        return QRectF(origin + pt.topLeft() * perPoint, pt.size() * perPoint).adjusted(-3, -3, 3, 3);
    };
    const QRectF textBox = onScreen(QRectF(100, 100, 8 * 12, 20 * 1.2));
    const QRectF ruleBox = onScreen(QRectF(50, 200, 250, 0));
    const QRect paper = QRectF(QPointF(16, 16), p.geometry.paper * perPoint).toRect();
    int inText = 0, onRule = 0, astray = 0;
    for (int y = paper.top(); y <= paper.bottom(); ++y) {
        for (int x = paper.left(); x <= paper.right(); ++x) {
            // A 0.5 pt rule is a faint line of one pixel at 100 %: any grey counts on it.
            const int gray = qGray(image.pixel(x, y));
            const QPointF at(x, y);
            onRule += gray < 220 && ruleBox.contains(at) ? 1 : 0;
            if (gray >= 128) {
                continue;
            }
            inText += textBox.contains(at) ? 1 : 0;
            astray += textBox.contains(at) || ruleBox.contains(at) ? 0 : 1;
        }
    }
    EXPECT_GT(inText, 100);
    EXPECT_GT(onRule, 100);
    EXPECT_EQ(astray, 0);
    d.reject();
}
