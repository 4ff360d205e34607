// The scheme readers (base16 and base24 YAML, KDE INI) and the mapping to a theme.
#include "SchemeChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ovex::fuzz::RunCheck(data, size, ovex::fuzz::CheckSchemeReading);
}
