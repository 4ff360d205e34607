// The colour text conversion and the reading of colour components.
#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto failure = ovex::fuzz::CheckColorText(bytes)) {
        std::fprintf(stderr, "broken rule: %s\n", qPrintable(*failure));
        std::abort();
    }
    return 0;
}
