#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "list/ContactSearch.h"
#include "list/ListLine.h"

namespace tandor {

class ContactsFile;

// A line of the contact list and the record number of the contact it shows.
// A line pasted through the Edit menu carries none (0).
struct ListEntry {
    QString text;
    int recordNumber = 0;

    bool hasRecord() const { return recordNumber > 0; }
};

// The list keeps its lines in order of their whole text, compared without
// regard to case; lines that compare equal keep the order they were added in.
bool listOrderLess(const QString& a, const QString& b);

// Where a new line goes in a list in that order: after every line that does
// not sort after it.
std::size_t sortedPosition(const std::vector<ListEntry>& list, const QString& text);

// Puts lines into their order (equal lines keep their relative order).
void sortEntries(std::vector<ListEntry>& entries);

// Adds lines, in the order given, to a list in order: the result is the list
// each line would give when inserted at its sorted place one after the other.
void mergeEntries(std::vector<ListEntry>& list, std::vector<ListEntry> added);

// What "Get report" finds in one pass over the contacts file.
struct FoundContacts {
    std::vector<ListEntry> entries;  // in list order
    int found = 0;
    // The search's name in the result label ("City"); empty when nothing was
    // taken or every contact was listed.
    QString resultName;
};

// Reads records 1 to count in order and takes each contact that the search
// takes, as a line in the given order carrying its record number.
FoundContacts findContacts(const ContactsFile& file, SearchField field, const QString& searchText,
                           SortOrder order);

// The caption of the result label after "Get report": "City = san".
QString resultCaption(const FoundContacts& found, const QString& searchText);
// The caption of the count label: "Contacts Found = 3".
QString countCaption(int found);

// The Edit menu on the list: Copy puts a line break (CR LF) before each copied
// line, so the text begins with one and has none at its end.
QString copiedLinesText(const QStringList& lines);
// Paste splits the text at every CR LF pair; every piece becomes a line, the
// empty ones included. An empty text gives no line.
QStringList pastedLines(const QString& text);

}  // namespace tandor
