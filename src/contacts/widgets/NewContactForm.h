#pragma once

#include <QMainWindow>

#include "contacts/ContactEntry.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace tandor {

class ContactBoxes;
class WindowHost;

// The new-contact form frmNewContact: one contact typed field by field and
// appended to the current contacts file. Every opening is a fresh form; it is
// unloaded by Save, Close or the title-bar button, and the main window comes
// back.
class NewContactForm : public QMainWindow {
    Q_OBJECT

public:
    explicit NewContactForm(WindowHost& host);

    // Puts the texts of the boxes (the label-line parse fills some of them).
    void setTexts(const ContactEntry& entry);
    // Shows the form in place of the main window, focus in the first name.
    void open();

    ContactBoxes& boxes() { return *boxes_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void save();

    WindowHost& host_;
    ContactEntry asOpened_;  // the boxes as the form opened
    bool saved_ = false;
    ContactBoxes* boxes_ = nullptr;
    QLabel* lblIncCompName_ = nullptr;
    QCheckBox* chkIncComp_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

}  // namespace tandor
