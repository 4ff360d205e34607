// A folder of theme files and other entries, read as the gallery reads it.
#include "FolderChecks.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
QString workDir;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The fonts the pictures are laid out in.
    static QGuiApplication app(*argc, *argv);
    // A tmpfs folder keeps the file writes cheap.
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/ovex-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a work folder\n");
        std::abort();
    }
    workDir = dir.path();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ovex::fuzz::RunCheck(data, size, [](QByteArrayView bytes) { return ovex::fuzz::CheckFolderReading(bytes, workDir); });
}
