// The line reader and the array loading on arbitrary bytes.
#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto failure = ovex::fuzz::CheckLineReading(bytes)) {
        std::fprintf(stderr, "broken rule: %s\n", qPrintable(*failure));
        std::abort();
    }
    return 0;
}
