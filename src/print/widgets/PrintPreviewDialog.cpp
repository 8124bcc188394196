#include "print/widgets/PrintPreviewDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/widgets/WindowConventions.h"
#include "platform/PagePainting.h"
#include "platform/PrintGrid.h"
#include "print/PrinterProblem.h"

namespace tandor {
namespace {
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;
constexpr double kZoomStep = 1.25;
constexpr int kMarginPx = 16;
}  // namespace

// One page on screen at a zoom (1.0 = its real size on the screen).
class PreviewPageView : public QWidget {
public:
    explicit PreviewPageView(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("previewPage"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void setPage(const PreviewPage* page, double zoom) {
        page_ = page;
        zoom_ = zoom;
        const QSizeF paper = page_ ? page_->geometry.paper : QSizeF(612, 792);
        resize(QSize(static_cast<int>(std::ceil(paper.width() * pixelsPerPoint())) + 2 * kMarginPx,
                     static_cast<int>(std::ceil(paper.height() * pixelsPerPoint())) + 2 * kMarginPx));
        update();
    }
    double zoom() const { return zoom_; }
    double pixelsPerPoint() const { return zoom_ * logicalDpiY() / printgrid::kPointsPerInch; }
    int drawn() const { return drawn_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        if (!page_) {
            return;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const double scale = pixelsPerPoint();
        const QPointF paperCorner(kMarginPx, kMarginPx);
        const QRectF paper(paperCorner, page_->geometry.paper * scale);
        painter.fillRect(paper.translated(3, 3), QColor(0x50, 0x50, 0x50));
        painter.fillRect(paper, Qt::white);

        const QRectF printable(paperCorner + page_->geometry.printable.topLeft() * scale,
                               page_->geometry.printable.size() * scale);
        painter.setPen(QPen(QColor(0x99, 0xbb, 0xdd), 1, Qt::DotLine));
        painter.drawRect(printable);
        paintLabelOutlines(painter, page_->labelOutlines, scale, paperCorner, QPen(QColor(0xc8, 0xc8, 0xc8), 1));

        painter.save();
        painter.setClipRect(paper);
        painter.translate(printable.topLeft());
        painter.setPen(Qt::black);
        paintPrintedPage(painter, page_->page, scale, zoom_);
        painter.restore();
        ++drawn_;
    }

private:
    const PreviewPage* page_ = nullptr;
    double zoom_ = 1.0;
    int drawn_ = 0;
};

PrintPreviewDialog::PrintPreviewDialog(std::vector<PreviewPage> pages, QWidget* parent)
    : QDialog(parent), pages_(std::move(pages)) {
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));

    auto* bar = new QHBoxLayout;
    auto button = [&](const QString& text, const char* name, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
        return b;
    };
    QToolButton* previous = button(QStringLiteral("< Previous"), "cmdPreviewPrevious", QStringLiteral("Previous page (PgUp)"));
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("lblPreviewPage"));
    bar->addWidget(pageLabel_);
    QToolButton* next = button(QStringLiteral("Next >"), "cmdPreviewNext", QStringLiteral("Next page (PgDn)"));
    bar->addSpacing(16);
    QToolButton* fit = button(QStringLiteral("Fit Page"), "cmdPreviewFit", QStringLiteral("The whole page in the window"));
    QToolButton* actual = button(QStringLiteral("100 %"), "cmdPreviewActual", QStringLiteral("The page at its real size"));
    QToolButton* in = button(QStringLiteral("Zoom In"), "cmdPreviewZoomIn", QStringLiteral("Zoom in (+)"));
    QToolButton* out = button(QStringLiteral("Zoom Out"), "cmdPreviewZoomOut", QStringLiteral("Zoom out (-)"));
    bar->addStretch();
    auto* printButton = new QPushButton(QStringLiteral("Print..."), this);
    printButton->setObjectName(QStringLiteral("cmdPreviewPrint"));
    printButton->setToolTip(QStringLiteral("Print (Ctrl+P)"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdPreviewClose"));
    for (QPushButton* b : {printButton, close}) {
        b->setAutoDefault(false);
        bar->addWidget(b);
    }

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("previewArea"));
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PreviewPageView(scroll_);
    scroll_->setWidget(view_);
    scroll_->setWidgetResizable(false);
    scroll_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    giveMnemonics(this);

    connect(previous, &QToolButton::clicked, this, [this] { showPage(current_ - 1); });
    connect(next, &QToolButton::clicked, this, [this] { showPage(current_ + 1); });
    connect(fit, &QToolButton::clicked, this, &PrintPreviewDialog::fitPage);
    connect(actual, &QToolButton::clicked, this, &PrintPreviewDialog::actualSize);
    connect(in, &QToolButton::clicked, this, &PrintPreviewDialog::zoomIn);
    connect(out, &QToolButton::clicked, this, &PrintPreviewDialog::zoomOut);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto printNow = [this] {
        accept();  // the preview closes; the job runs after it
    };
    connect(printButton, &QPushButton::clicked, this, printNow);
    auto* printKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+P")), this);
    connect(printKey, &QShortcut::activated, this, printNow);

    // As large as a page wants, but never past the screen with the frame and title bar.
    QSize size(900, 760);
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    }
    resize(size);
    refresh();
}

PrintPreviewDialog::~PrintPreviewDialog() = default;

double PrintPreviewDialog::zoom() const {
    return view_->zoom();
}

int PrintPreviewDialog::pagesDrawn() const {
    return view_->drawn();
}

void PrintPreviewDialog::showPage(int index) {
    if (pages_.empty()) {
        return;
    }
    current_ = std::clamp(index, 0, pageCount() - 1);
    refresh();
}

void PrintPreviewDialog::fitPage() {
    fit_ = true;
    refresh();
}

void PrintPreviewDialog::actualSize() {
    fit_ = false;
    view_->setPage(pages_.empty() ? nullptr : &pages_[current_], 1.0);
}

void PrintPreviewDialog::zoomIn() {
    fit_ = false;
    view_->setPage(pages_.empty() ? nullptr : &pages_[current_], std::min(kMaxZoom, zoom() * kZoomStep));
}

void PrintPreviewDialog::zoomOut() {
    fit_ = false;
    view_->setPage(pages_.empty() ? nullptr : &pages_[current_], std::max(kMinZoom, zoom() / kZoomStep));
}

void PrintPreviewDialog::refresh() {
    const PreviewPage* page = pages_.empty() ? nullptr : &pages_[current_];
    pageLabel_->setText(pages_.empty() ? QStringLiteral("No pages")
                                       : QStringLiteral("Page %1 of %2").arg(current_ + 1).arg(pageCount()));
    double zoom = view_->zoom();
    if (fit_ && page) {
        const QSize room = scroll_->viewport()->size() - QSize(2 * kMarginPx, 2 * kMarginPx);
        const double perPoint = view_->logicalDpiY() / printgrid::kPointsPerInch;
        zoom = std::min(room.width() / (page->geometry.paper.width() * perPoint),
                        room.height() / (page->geometry.paper.height() * perPoint));
        zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    }
    view_->setPage(page, zoom);
}

// The fitted page follows the room the window gives it.
bool PrintPreviewDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && fit_) {
        refresh();
    }
    return QDialog::eventFilter(watched, event);
}

void PrintPreviewDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp:
            showPage(current_ - 1);
            return;
        case Qt::Key_PageDown:
            showPage(current_ + 1);
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomIn();
            return;
        case Qt::Key_Minus:
            zoomOut();
            return;
        default:
            break;
    }
    QDialog::keyPressEvent(event);  // Esc closes
}

void showPrintPreview(Platform& platform, const PrintJob& job, const std::function<void()>& print,
                      QWidget* parent) {
    std::vector<PreviewPage> pages;
    try {
        pages = composeForPreview(platform, job);
    } catch (const AppError&) {
        reportPrinterProblem(platform, nullptr, job.errorTitle);
        return;
    }
    PrintPreviewDialog dialog(std::move(pages), parent);
    if (dialog.exec() == QDialog::Accepted && print) {
        print();
    }
}

void showPrintPreview(Platform& platform, const std::optional<PrintJob>& job,
                      const std::function<void()>& print, QWidget* parent) {
    if (job) {
        showPrintPreview(platform, *job, print, parent);
    }
}

}  // namespace tandor
