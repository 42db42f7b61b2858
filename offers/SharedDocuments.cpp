#include "offers/SharedDocuments.h"

namespace orvento::offers {

bool copyIntoSharedFolder(OfferDocument& document, const QString& sharedFolder,
                          core::UserInteraction& ui) {
    document.CopyFile = false;
    return services::copyIntoSharedFolder(document.File, sharedFolder, ui);
}

} // namespace orvento::offers
