// Replays the fuzzers' seed corpus and every input they failed on (fuzz/regressions).
#include "FuzzChecks.h"
#include "FolderChecks.h"
#include "SchemeChecks.h"
#include "RecoveryChecks.h"
#include "TestSupport.h"
#include <QTemporaryDir>
using namespace ovex;
using namespace Qt::StringLiterals;

class FuzzInputsTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    fuzz::ImportChecker m_import{m_dir.path()};
private Q_SLOTS:
    void replay_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        for (const QString& target : {u"lines"_s, u"color"_s, u"import"_s, u"scheme"_s, u"recovery"_s,
                                           u"recoveryfolder"_s, u"clipboard"_s, u"picture"_s, u"folder"_s})
            for (const QString& folder : {u"corpus"_s, u"regressions"_s}) {
                const QDir dir(QStringLiteral(OVEX_FUZZ_DIR "/") + folder + u'/' + target);
                const QStringList names = dir.entryList(QDir::Files, QDir::Name);   // hidden ones keep the folder in git
                for (const QString& name : names)
                    QTest::addRow("%s", qPrintable(target + u'/' + folder + u'/' + name)) << target << dir.filePath(name);
                QVERIFY2(!names.isEmpty() || folder == "regressions"_L1, qPrintable(dir.path()));
            }
    }
    void replay()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray input = file.readAll();
        const auto failure = target == "lines"_L1       ? fuzz::CheckLineReading(input)
                             : target == "color"_L1     ? fuzz::CheckColorText(input)
                             : target == "scheme"_L1    ? fuzz::CheckSchemeReading(input)
                             : target == "recovery"_L1  ? fuzz::CheckRecoveryCopy(input)
                             : target == "recoveryfolder"_L1 ? fuzz::CheckCopyFolder(input)
                             : target == "clipboard"_L1 ? fuzz::CheckClipboard(input)
                             : target == "picture"_L1   ? fuzz::CheckPicture(input)
                             : target == "folder"_L1    ? fuzz::CheckFolderReading(input, m_dir.path())
                                                        : m_import.Check(input);
        QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    }
};
OVEX_TEST_MAIN(FuzzInputsTest)
#include "tst_fuzzinputs.moc"
