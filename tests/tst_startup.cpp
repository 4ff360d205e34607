// Start-up: the window is built and painted without reading a picture file,
// and the icons read later look exactly as they would have.
#include "TestSupport.h"
#include "app/AppIcon.h"
#include "app/AppStyle.h"
#include "app/DeferredIcon.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionButton>

#include <algorithm>
#include <memory>

using namespace ovex;
using ovex::test::TestEditor;

Q_DECLARE_METATYPE(QStyle::StandardPixmap)

namespace {

// The image-format plug-ins mapped into this process (Linux).
QStringList loadedImagePlugins()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    QStringList found;
    if (!maps.open(QIODevice::ReadOnly))
        return found;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        if (line.contains("/imageformats/"))
            found << QString::fromLocal8Bit(line.mid(line.indexOf('/')));
    }
    found.removeDuplicates();
    return found;
}

QPixmap filled(int size, Qt::GlobalColor color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(color);
    return pixmap;
}

// Three sizes in three colours, so that a picture of the wrong size shows.
QIcon threeSizes()
{
    QIcon icon;
    icon.addPixmap(filled(16, Qt::red));
    icon.addPixmap(filled(32, Qt::green));
    icon.addPixmap(filled(64, Qt::blue));
    return icon;
}

// Both icons give the same picture for a size at a device pixel ratio.
bool samePicture(const QIcon& a, const QIcon& b, const QSize& size, qreal dpr)
{
    const QPixmap pa = a.pixmap(size, dpr);
    const QPixmap pb = b.pixmap(size, dpr);
    return !pa.isNull() && pa.toImage() == pb.toImage() && pa.devicePixelRatio() == pb.devicePixelRatio();
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // First: once any picture is read, the plug-ins stay loaded.
    void windowReadsNoPicture()
    {
        if (!QFile::exists(QStringLiteral("/proc/self/maps")))
            QSKIP("needs /proc/self/maps");
        TestEditor ed;
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        ed->grab();   // every control painted
        // As X11 asks for the window icon when the window is created.
        for (const QSize& size : ed->windowIcon().availableSizes())
            QVERIFY(!ed->windowIcon().pixmap(size).isNull());
        QCOMPARE(loadedImagePlugins(), QStringList());
    }

    void deferredIconIsBuiltOnceWhenDrawn()
    {
        int built = 0;
        const QList<QSize> sizes{QSize(16, 16), QSize(32, 32), QSize(64, 64)};
        const QIcon icon = DeferredIcon([&built] { return ++built, threeSizes(); }, sizes);
        QIcon copy = icon;
        QVERIFY(!copy.isNull());
        QCOMPARE(copy.availableSizes(), sizes);
        QCOMPARE(built, 0);
        QVERIFY(samePicture(copy, threeSizes(), QSize(32, 32), 1.0));
        QVERIFY(samePicture(icon, threeSizes(), QSize(16, 16), 1.0));
        QCOMPARE(built, 1);   // copies share the one built icon
        // A picture added afterwards goes into the built icon.
        copy.addPixmap(filled(48, Qt::yellow));
        QCOMPARE(copy.availableSizes().size(), 4);
        QCOMPARE(copy.pixmap(QSize(48, 48)).toImage().pixelColor(0, 0), QColor(Qt::yellow));
        QCOMPARE(icon.availableSizes(), sizes);
        QCOMPARE(built, 1);
    }

    void deferredIconDrawsAsTheIconItDefers_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("dpr");
        QTest::newRow("16") << QSize(16, 16) << 1.0;
        QTest::newRow("20, scaled") << QSize(20, 20) << 1.0;
        QTest::newRow("16 at 2x") << QSize(16, 16) << 2.0;
        QTest::newRow("24 at 1.5x") << QSize(24, 24) << 1.5;
    }
    void deferredIconDrawsAsTheIconItDefers()
    {
        QFETCH(QSize, size);
        QFETCH(qreal, dpr);
        const QIcon deferred = DeferredIcon(threeSizes);
        QVERIFY(samePicture(deferred, threeSizes(), size, dpr));
        QCOMPARE(deferred.actualSize(size), threeSizes().actualSize(size));
    }

    void extensionArrowAsFusionDrawsIt_data()
    {
        QTest::addColumn<QStyle::StandardPixmap>("which");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("dpr");
        for (const auto& [name, which] : {std::pair{"menu bar", QStyle::SP_ToolBarHorizontalExtensionButton},
                                          std::pair{"vertical", QStyle::SP_ToolBarVerticalExtensionButton},
                                          std::pair{"message icon", QStyle::SP_MessageBoxWarning}}) {
            QTest::addRow("%s 16", name) << which << QSize(16, 16) << 1.0;
            QTest::addRow("%s 32", name) << which << QSize(32, 32) << 1.0;
            QTest::addRow("%s 16 at 2x", name) << which << QSize(16, 16) << 2.0;
        }
    }
    void extensionArrowAsFusionDrawsIt()
    {
        QFETCH(QStyle::StandardPixmap, which);
        QFETCH(QSize, size);
        QFETCH(qreal, dpr);
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        QIcon arrow;
        {
            const AppStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
            arrow = style.standardIcon(which);
        }
        // Drawn only after the style that made it is gone.
        QVERIFY(samePicture(arrow, fusion->standardIcon(which), size, dpr));
        QCOMPARE(arrow.availableSizes(), fusion->standardIcon(which).availableSizes());
    }

    // A kept check-box square is the one Fusion would paint there, for every
    // state: all looks are drawn in turn on one style, so that a square kept
    // for one state and shown for another fails. On the window's own colour
    // it is exact; elsewhere its four corners, which Fusion covers in part,
    // may blend one level apart.
    void checkBoxAsFusionDrawsIt_data()
    {
        QTest::addColumn<qreal>("dpr");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<int>("tolerance");
        const QColor window = QApplication::palette().color(QPalette::Window);
        QTest::newRow("window's own scale") << 1.0 << window << 0;
        QTest::newRow("on another colour") << 1.0 << QColor(200, 120, 40) << 1;
        QTest::newRow("2x, not kept") << 2.0 << QColor(200, 120, 40) << 0;
    }
    void checkBoxAsFusionDrawsIt()
    {
        QFETCH(qreal, dpr);
        QFETCH(QColor, background);
        QFETCH(int, tolerance);
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        const AppStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
        const auto paint = [&](const QStyle& with, const QStyleOptionButton& option) {
            QImage image((QSizeF(option.rect.size() + QSize(4, 4)) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(dpr);
            image.fill(background);
            QPainter painter(&image);
            with.drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
            return image;
        };
        const auto farthest = [](const QImage& a, const QImage& b) {
            int most = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x) {
                    const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                    most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                     std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
                }
            return most;
        };
        QPalette other = QApplication::palette();
        other.setColor(QPalette::Base, Qt::yellow);
        for (const QPalette& palette : {QApplication::palette(), other})
            for (const QStyle::State check : {QStyle::State(QStyle::State_Off), QStyle::State(QStyle::State_On),
                                              QStyle::State(QStyle::State_NoChange)})
                for (const QStyle::State more : {QStyle::State(QStyle::State_Enabled), QStyle::State(QStyle::State_None),
                                                 QStyle::State_Enabled | QStyle::State_Sunken,
                                                 QStyle::State_Enabled | QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange})
                    for (const QSize size : {QSize(13, 13), QSize(16, 16)})
                        for (int twice = 0; twice < 2; ++twice) {
                            QStyleOptionButton option;
                            option.state = check | more;
                            option.rect = QRect(QPoint(2, 2), size);
                            option.palette = palette;
                            const QImage kept = paint(style, option);
                            const QImage drawn = paint(*fusion, option);
                            QCOMPARE(kept.size(), drawn.size());
                            QVERIFY2(farthest(kept, drawn) <= tolerance,
                                     qPrintable(QStringLiteral("state %1, %2 px").arg(uint(option.state), 0, 16).arg(size.width())));
                        }
    }

    // Every launcher size up to MaxWindowIconSize, picture for picture.
    void windowIconIsTheLauncherIcon()
    {
        QList<QSize> launcher;
        for (const QString& name : QDir(QStringLiteral(":/appicon")).entryList({QStringLiteral("*.png")})) {
            const int size = name.chopped(4).toInt();
            if (size <= MaxWindowIconSize)
                launcher << QSize(size, size);
        }
        std::sort(launcher.begin(), launcher.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
        QVERIFY(launcher.size() > 1);
        const QIcon icon = AppIcon();
        QCOMPARE(icon.availableSizes(), launcher);
        for (const QSize& size : launcher) {
            const QImage file(QStringLiteral(":/appicon/%1.png").arg(size.width()));
            QCOMPARE(icon.pixmap(size, 1.0).toImage(), QPixmap::fromImage(file).toImage());
        }
    }
};

OVEX_TEST_MAIN(StartupTest)
#include "tst_startup.moc"
