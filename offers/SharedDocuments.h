#pragma once

#include "offers/OfferRecords.h"
#include "services/SharedDocuments.h"

#include <QString>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::offers {

using services::expandLink;
using services::isSharedLink;
using services::sharedFolderMark;
using services::sharedLink;

// Copies the document's file into `sharedFolder` and turns its link into a shared one
// (services::copyIntoSharedFolder); either way CopyFile ends false.
bool copyIntoSharedFolder(OfferDocument& document, const QString& sharedFolder,
                          core::UserInteraction& ui);

} // namespace orvento::offers
