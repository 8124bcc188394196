#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "contacts/ContactEntry.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace tandor {

// The 17 boxes in the tab order of both entry windows.
inline constexpr std::array<EntryBox, 17> kBoxTabOrder = {
    EntryBox::FName,   EntryBox::MiddleInit, EntryBox::LName,     EntryBox::FStreet,
    EntryBox::SStreet, EntryBox::City,       EntryBox::State,     EntryBox::Zip,
    EntryBox::Country, EntryBox::Company,    EntryBox::Birthdate, EntryBox::HPhone,
    EntryBox::CPhone,  EntryBox::WPhone,     EntryBox::Email,     EntryBox::Category,
    EntryBox::Notes,
};

// "txtACFName", "txtACMiddleInit", ... of a box.
QString entryBoxName(EntryBox box);

// The 17 text boxes that the new-contact form and the browser share, with
// their labels and tool tips, laid out in a grid of two columns. Enter in a box
// is swallowed and a Tab is sent in its place, so the focus moves on to the
// next control in the window's tab order.
class ContactBoxes : public QObject {
    Q_OBJECT

public:
    // notesTip: the notes tool tip, which the two windows word differently.
    ContactBoxes(QWidget* window, QGridLayout* grid, const QString& notesTip);

    QLineEdit* box(EntryBox box) const;
    QLineEdit* first() const { return box(kBoxTabOrder.front()); }
    QLineEdit* last() const { return box(kBoxTabOrder.back()); }
    bool isBox(const QWidget* widget) const;

    // The texts of the boxes and the given include-company check box.
    ContactEntry read(const QCheckBox* includeCompany) const;
    // Writes every text (a box whose text does not change receives nothing, so
    // its change handlers do not run).
    void writeTexts(const ContactEntry& entry);
    void setEnabled(bool enabled);
    // Moves the focus to a box; None leaves it where it is.
    void focus(EntryBox box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLineEdit*, 17> boxes_{};  // indexed as kBoxTabOrder
};

}  // namespace tandor
