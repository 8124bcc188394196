#include "platform/widgets/JobProgressDialog.h"

#include <QApplication>

namespace tandor {

JobProgressDialog::JobProgressDialog(QWidget* parent, int showAfterMs)
    : parent_(parent), showAfterMs_(showAfterMs) {
    clock_.start();
}

JobProgressDialog::~JobProgressDialog() {
    delete dialog_.data();
}

bool JobProgressDialog::pagesDone(int done, int total) {
    if (cancelled_) {
        return false;
    }
    if (!dialog_ && clock_.elapsed() >= showAfterMs_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setObjectName(QStringLiteral("jobProgress"));
        dialog_->setWindowTitle(QStringLiteral("Printing"));
        dialog_->setCancelButtonText(QStringLiteral("Cancel"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(0);
        dialog_->show();
    }
    if (!dialog_) {
        return true;
    }
    if (total > 0) {
        dialog_->setMaximum(total);
        dialog_->setValue(std::min(done, total));
        dialog_->setLabelText(QStringLiteral("Page %1 of %2").arg(done).arg(total));
    } else {
        dialog_->setMaximum(0);  // the total is not known yet: a busy bar
        dialog_->setLabelText(QStringLiteral("Preparing page %1").arg(done));
    }
    QApplication::processEvents();
    if (dialog_ && dialog_->wasCanceled()) {
        cancelled_ = true;
    }
    return !cancelled_;
}

}  // namespace tandor
