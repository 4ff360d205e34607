#pragma once
// The real program (OVEX_EDITOR_BINARY) with no display or session, in a
// folder, with a home of its own: as from cron, or root in CI.
#include <QProcess>

#include <sys/resource.h>

namespace ovex::test {

struct ProgramRun
{
    int status = -1;   // -1: crashed or hung
    QString out;
    QString err;
};

// AddressSanitizer reserves terabytes of address space for its shadow memory,
// so a limit on it cannot run there; its own checks stand in.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool AddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool AddressSanitizer = false;
#endif

// memoryMiB > 0: the program's address space is held to that.
inline ProgramRun RunProgram(const QStringList& args, const QString& dir, const QString& home, int memoryMiB = 0)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("HOME"), home);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "TMPDIR"})
        env.insert(QLatin1String(name), home + u'/' + QLatin1String(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    if (memoryMiB > 0 && !AddressSanitizer) {
        p.setChildProcessModifier([memoryMiB] {
            const rlimit limit{rlim_t(memoryMiB) << 20, rlim_t(memoryMiB) << 20};
            ::setrlimit(RLIMIT_AS, &limit);
        });
    }
    p.start(QStringLiteral(OVEX_EDITOR_BINARY), args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace ovex::test
