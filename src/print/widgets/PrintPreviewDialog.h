#pragma once

#include <optional>

#include <QDialog>
#include <functional>
#include <vector>

#include "print/PrintJob.h"

class QLabel;
class QScrollArea;

namespace tandor {

class PreviewPageView;

// "Print Preview": the composed pages as the printer will print them, one at
// a time, drawn when shown: the paper, its printable area (dotted), the label
// outlines of the sheet (faint, on screen only) and the texts, by the same
// drawing the printer uses. Page n of N, fit page, 100 %, zoom in and out,
// PgUp/PgDn, Ctrl+P or Print closes it accepted (the caller then prints), Esc closes.
class PrintPreviewDialog : public QDialog {
    Q_OBJECT

public:
    explicit PrintPreviewDialog(std::vector<PreviewPage> pages, QWidget* parent = nullptr);
    ~PrintPreviewDialog() override;

    int pageCount() const { return static_cast<int>(pages_.size()); }
    const std::vector<PreviewPage>& pages() const { return pages_; }
    int currentPage() const { return current_; }  // from 0
    double zoom() const;
    // How many pages have been drawn so far (pages are drawn only when shown).
    int pagesDrawn() const;

    void showPage(int index);
    void fitPage();
    void actualSize();
    void zoomIn();
    void zoomOut();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    std::vector<PreviewPage> pages_;
    int current_ = 0;
    bool fit_ = true;
    QLabel* pageLabel_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PreviewPageView* view_ = nullptr;
};

// Opens the preview of a job (modal) and, when the user asks for it, prints
// the job. A job that cannot be composed shows the printer-error message.
// Preview and Print are two modes of one command: the job previewed is the
// one its command's checks prepared (none: a check refused and said why, and
// no preview opens), and `print` is that command's Print.
void showPrintPreview(Platform& platform, const PrintJob& job, const std::function<void()>& print,
                      QWidget* parent);
void showPrintPreview(Platform& platform, const std::optional<PrintJob>& job,
                      const std::function<void()>& print, QWidget* parent = nullptr);

}  // namespace tandor
