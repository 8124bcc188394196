#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

#include "platform/Platform.h"

namespace tandor {

// The progress of a print job: "Page n of N" and a Cancel button, shown once
// the job has run for about a second. It keeps the windows painted while the
// job runs; the windows themselves stay blocked (the dialog is modal).
class JobProgressDialog : public JobProgress {
public:
    explicit JobProgressDialog(QWidget* parent = nullptr, int showAfterMs = 1000);
    ~JobProgressDialog() override;

    bool pagesDone(int done, int total) override;
    // The dialog, once shown (null before).
    QProgressDialog* dialog() const { return dialog_.data(); }

private:
    QWidget* parent_;
    int showAfterMs_;
    QElapsedTimer clock_;
    QPointer<QProgressDialog> dialog_;
    bool cancelled_ = false;
};

}  // namespace tandor
