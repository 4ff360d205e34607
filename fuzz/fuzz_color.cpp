// The colour text conversion and the reading of colour components.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ovex::fuzz::RunCheck(data, size, ovex::fuzz::CheckColorText);
}
