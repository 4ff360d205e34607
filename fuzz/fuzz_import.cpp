// The whole File, Import (and a Save and Import back) on an offscreen editor.
#include "FuzzChecks.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
ovex::fuzz::ImportChecker* checker = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept for the whole run; a tmpfs folder keeps the file writes cheap.
    static QApplication app(*argc, *argv);
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/ovex-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a work folder\n");
        std::abort();
    }
    checker = new ovex::fuzz::ImportChecker(dir.path());
    // The window goes before the application, as it would in the program.
    std::atexit([] { delete checker; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ovex::fuzz::RunCheck(data, size, [](QByteArrayView bytes) { return checker->Check(bytes); });
}
