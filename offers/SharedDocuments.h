#pragma once

#include "offers/OfferRecords.h"

#include <QString>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::offers {

// A link into the offer's own shared document folder: this mark followed by a bare file name.
QString sharedFolderMark();
bool isSharedLink(const QString& file);
QString sharedLink(const QString& fileName);
// The full path a link names; a shared link is resolved in `sharedFolder` (with trailing '/').
QString expandLink(const QString& file, const QString& sharedFolder);

// Copies the document's file into `sharedFolder` and turns its link into a shared one. Whatever
// stops the copy is reported and leaves the link as it was; either way CopyFile ends false. The
// file is written under a temporary name and renamed over the target only once complete, so an
// existing file survives a failed copy.
bool copyIntoSharedFolder(OfferDocument& document, const QString& sharedFolder,
                          core::UserInteraction& ui);

} // namespace orvento::offers
