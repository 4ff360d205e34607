// What Paste and a colour drop read: colour data, text, or both.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ovex::fuzz::RunCheck(data, size, ovex::fuzz::CheckClipboard);
}
