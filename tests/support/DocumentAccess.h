#pragma once

#include "store/ContactsDocument.h"

namespace tandor::test {

// The open file of a document, for tests that take it from under the
// windows (closing it as a failing disk or network drive would).
struct DocumentAccess {
    static ContactsFile& file(ContactsDocument& document) { return document.file_; }
};

}  // namespace tandor::test
