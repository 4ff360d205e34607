#include <QtTest>
class PlatformTest : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(PlatformTest)
#include "tst_platform.moc"
