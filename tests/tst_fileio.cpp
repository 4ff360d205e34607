#include <QtTest>
class FileIoTest : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(FileIoTest)
#include "tst_fileio.moc"
