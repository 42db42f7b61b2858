// The `info.ini` inside a backup archive, which says what the archive holds and whether this
// program restores it.
#include "FuzzSupport.h"

#include "backup/BackupInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const backup::BackupInfo info = backup::BackupInfo::fromText(fuzz::bytes(data, size));
    if (info.listable())
        (void)backup::BackupInfo::fromText(info.toText());
    return 0;
}
