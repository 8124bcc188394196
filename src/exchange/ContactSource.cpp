#include "exchange/ContactSource.h"

#include "exchange/VcardSource.h"

namespace tandor {

std::unique_ptr<ContactSource> openContactSource(QIODevice& device) {
    if (isVcard(device)) {
        return vcardSource(device);
    }
    return csvSource(device);
}

}  // namespace tandor
