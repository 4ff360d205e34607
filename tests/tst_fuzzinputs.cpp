// Replays the fuzzers' seed corpus and every input a fuzzer failed on
// (fuzz/regressions) through the same checks, in the normal and the
// sanitizer builds.
#include "FuzzChecks.h"

#include "TestSupport.h"

#include <QDirIterator>
#include <QTemporaryDir>

using namespace ovex;

namespace {

void addInputs(const QString& target)
{
    QTest::addColumn<QString>("path");
    int rows = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        QDir dir(QStringLiteral(OVEX_FUZZ_DIR "/%1/%2").arg(QLatin1String(folder), target));
        // Hidden files only keep the folders in git.
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(QLatin1String(folder), name)))
                << dir.filePath(name);
            ++rows;
        }
    }
    if (rows == 0)
        qFatal("no inputs for %s", qPrintable(target));
}

QByteArray readInput(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

} // namespace

class FuzzInputsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<fuzz::ImportChecker> m_import;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_import = std::make_unique<fuzz::ImportChecker>(m_dir.path());
    }
    void cleanupTestCase() { m_import.reset(); }

    void lineReading_data() { addInputs(QStringLiteral("lines")); }
    void lineReading()
    {
        QFETCH(QString, path);
        const auto failure = fuzz::CheckLineReading(readInput(path));
        QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    }

    void colorText_data() { addInputs(QStringLiteral("color")); }
    void colorText()
    {
        QFETCH(QString, path);
        const auto failure = fuzz::CheckColorText(readInput(path));
        QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    }

    void import_data() { addInputs(QStringLiteral("import")); }
    void import()
    {
        QFETCH(QString, path);
        const auto failure = m_import->Check(readInput(path));
        QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    }
};

OVEX_TEST_MAIN(FuzzInputsTest)
#include "tst_fuzzinputs.moc"
