// Listing a folder of copies left by earlier editors.
#include "RecoveryChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ovex::fuzz::RunCheck(data, size, ovex::fuzz::CheckCopyFolder);
}
