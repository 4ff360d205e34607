// The line reader and the array loading on arbitrary bytes.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ovex::fuzz::RunCheck(data, size, ovex::fuzz::CheckLineReading);
}
