#include "sync/AddressBookServer.h"

#include <utility>

namespace tandor::sync {

ServerError::ServerError(Kind kind, const QString& message, int httpStatus, QString certificateDetails,
                         QString certificateFingerprint)
    : std::runtime_error(message.toStdString()),
      kind_(kind),
      message_(message),
      httpStatus_(httpStatus),
      certificateDetails_(std::move(certificateDetails)),
      certificateFingerprint_(std::move(certificateFingerprint)) {}

}  // namespace tandor::sync
