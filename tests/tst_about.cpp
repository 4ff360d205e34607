// The About box, and how the main window opens it and closes it.
#include "TestSupport.h"

#include "app/frmAbout.h"

#include <QLabel>
#include <QPushButton>

using namespace ovex;
using ovex::test::TestEditor;
using ovex::test::visibleWindows;

namespace {

QList<frmAbout*> openBoxes()
{
    QList<frmAbout*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<frmAbout*>(w);
        if (box && box->isVisible())
            boxes << box;
    }
    return boxes;
}

// Help, About; the one box that is then open, or null.
frmAbout* chooseAbout(const TestEditor& ed)
{
    ed.action("mnuAbout")->trigger();
    const QList<frmAbout*> boxes = openBoxes();
    return boxes.size() == 1 ? boxes.first() : nullptr;
}

// A click delivered by the window system, which a modal window would block.
void systemClick(QWidget* target)
{
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
}

// Runs the application's event loop, doing `action` once it runs; gives the
// loop's exit code, or -1 when it had to be stopped.
int runApplication(const std::function<void()>& action)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(5000);
    QTimer::singleShot(0, action);
    return QApplication::exec();
}

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        // A failed test may leave a box behind for the next one to trip over.
        for (frmAbout* box : openBoxes())
            delete box;
    }

    void layoutAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");   // null: checked elsewhere
        QTest::addColumn<int>("align");
        QTest::newRow("picIcon") << "picIcon" << QRect(16, 24, 38, 38) << QString() << 0;
        QTest::newRow("lblTitle") << "lblTitle" << QRect(70, 24, 259, 16)
                                  << "Ovex Theme Editor" << int(Qt::AlignHCenter);
        QTest::newRow("lblVersion") << "lblVersion" << QRect(70, 52, 259, 15) << QString()
                                    << int(Qt::AlignHCenter);
        QTest::newRow("lblDescription")
            << "lblDescription" << QRect(70, 75, 259, 30)
            << "Description: This program is a tool designed to aid in theme development for "
               "the \"Ovex Chat\" program."
            << int(Qt::AlignLeft);
        QTest::newRow("Label1") << "Label1" << QRect(64, 120, 259, 14) << QString()
                                << int(Qt::AlignHCenter);
        QTest::newRow("lblDisclaimer")
            << "lblDisclaimer" << QRect(17, 175, 258, 55)
            << "Warning: Not liable for any damages resulting from usage of this software as it "
               "is provided \"AS-IS\" and without any warranty, so use at your own risk..."
            << int(Qt::AlignLeft);
        QTest::newRow("cmdOK") << "cmdOK" << QRect(283, 192, 84, 23) << "OK" << 0;
    }

    void layoutAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(int, align);
        frmAbout box;
        auto* w = box.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), geometry);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!text.isNull())
                QCOMPARE(label->text(), text);
            if (align)
                QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), align);
            QCOMPARE(label->font().bold(), name == "lblTitle");
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            QCOMPARE(button->text(), text);
        }
    }

    void windowAsDesigned()
    {
        TestEditor ed;
        frmAbout* box = chooseAbout(ed);
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowExposed(box));
        QCOMPARE(box->windowTitle(), QStringLiteral("About Ovex Theme Editor"));
        QCOMPARE(box->geometry(), QRect(156, 129, 382, 229));
        QCOMPARE(box->minimumSize(), box->maximumSize());
        // Free-standing, out of the task bar, and leaving the editor usable.
        QCOMPARE(box->parentWidget(), nullptr);
        QCOMPARE(box->windowType(), Qt::Tool);
        QVERIFY(!box->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        const Qt::WindowFlags flags = box->windowFlags();
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));

        auto* cmdOK = box->findChild<QPushButton*>("cmdOK");
        QVERIFY(cmdOK->isDefault());
        QCOMPARE(box->focusWidget(), cmdOK);
        const QPixmap picture = box->findChild<QLabel*>("picIcon")->pixmap();
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(34, 34));
    }

    void versionLineFromTheProjectVersion()
    {
        frmAbout box;
        QCOMPARE(box.findChild<QLabel*>("lblVersion")->text(),
                 QStringLiteral("Version: " OVEX_PROJECT_VERSION));
    }

    // Every text is whole inside its box; the notice is one line.
    void textsFit()
    {
        frmAbout box;
        const QList<QLabel*> labels = box.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 6);
        for (const QLabel* label : labels) {
            if (label->objectName() == "picIcon")
                continue;
            QVERIFY2(!label->text().isEmpty(), qPrintable(label->objectName()));
            const QFontMetrics metrics = label->fontMetrics();
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 1000),
                                                      label->wordWrap() ? int(Qt::TextWordWrap) : 0,
                                                      label->text());
            QVERIFY2(needed.width() <= label->width(), qPrintable(label->text()));
            QVERIFY2(needed.height() <= label->height(), qPrintable(label->text()));
            if (!label->wordWrap())
                QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                         qPrintable(label->text()));
        }
        const auto* cmdOK = box.findChild<QPushButton*>("cmdOK");
        QVERIFY(cmdOK->fontMetrics().horizontalAdvance(cmdOK->text()) < cmdOK->width());
        // The rights notice stays above the separator.
        const QLabel* notice = box.findChild<QLabel*>("Label1");
        QVERIFY(notice->geometry().bottom() < frmAbout::SeparatorTop);
    }

    // A grey stroke over a white one, from x 6 (white from 7) to 377.
    void separatorIsEtched()
    {
        frmAbout box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QImage image = box.grab().toImage();
        const QColor grey(128, 128, 128);
        const QColor white(255, 255, 255);
        for (int x : {6, 200, 377})
            QCOMPARE(image.pixelColor(x, 163), grey);
        for (int x : {7, 200, 377}) {
            QCOMPARE(image.pixelColor(x, 164), white);
            QCOMPARE(image.pixelColor(x, 165), white);
        }
        const QColor background = box.palette().color(QPalette::Window);
        QCOMPARE(image.pixelColor(200, 162), background);
        QCOMPARE(image.pixelColor(200, 166), background);
        QCOMPARE(image.pixelColor(378, 163), background);
        QCOMPARE(image.pixelColor(5, 163), background);
        QCOMPARE(image.pixelColor(6, 164), background);
    }

    void choosingAboutAgainKeepsOneBoxAndActivatesIt()
    {
        TestEditor ed;
        ed->show();
        QPointer<frmAbout> first = chooseAbout(ed);
        QVERIFY(first);
        ed->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ed.window.get()));
        QCOMPARE(chooseAbout(ed), first.data());
        QVERIFY(QTest::qWaitForWindowActive(first.data()));
        QCOMPARE(openBoxes().size(), 1);
    }

    void closingUnloadsTheBox_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("OK button") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("keypad Enter") << 2;
        QTest::newRow("Escape") << 3;
        QTest::newRow("close box") << 4;
    }

    void closingUnloadsTheBox()
    {
        QFETCH(int, way);
        TestEditor ed;
        ed->show();
        QPointer<frmAbout> box = chooseAbout(ed);
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowExposed(box.data()));
        switch (way) {
        case 0: QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton); break;
        case 1: QTest::keyClick(box.data(), Qt::Key_Return); break;
        case 2: QTest::keyClick(box.data(), Qt::Key_Enter); break;
        case 3: QTest::keyClick(box.data(), Qt::Key_Escape); break;
        default: QVERIFY(box->close()); break;
        }
        QVERIFY(openBoxes().isEmpty());
        QTRY_VERIFY(box.isNull());
        QVERIFY(ed->isVisible());

        // The next opening loads a new box, with its version line again.
        frmAbout* again = chooseAbout(ed);
        QVERIFY(again);
        QCOMPARE(again->findChild<QLabel*>("lblVersion")->text(),
                 QStringLiteral("Version: " OVEX_PROJECT_VERSION));
    }

    void editorStaysUsableWhileOpen()
    {
        TestEditor ed;
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        QVERIFY(chooseAbout(ed));
        QVERIFY(QTest::qWaitForWindowActive(openBoxes().first()));

        systemClick(ed.slots().chk[2]);
        QCOMPARE(ed.slots().Value(2), 1);
        ed.cd->AnswerColor(0x0000FF);
        systemClick(ed.slots().cmd[2]);
        QCOMPARE(ed.slots().s[2]->BackColor(), ColorValue(0x0000FF));
        QCOMPARE(ed.slots().s[2]->Tag(), QStringLiteral("255,0,0"));
        ed.action("mnuNew")->trigger();
        QCOMPARE(ed.slots().Value(2), 0);
        ed.action("mnuWebsite")->trigger();
        QCOMPARE(ed.web->Opened().size(), 1);
        QCOMPARE(openBoxes().size(), 1);
    }

    void closingTheMainWindowClosesTheBoxAndEndsTheProgram()
    {
        TestEditor ed;
        ed->show();
        QPointer<frmAbout> box = chooseAbout(ed);
        QVERIFY(box);
        bool closedFirst = false;
        const int code = runApplication([&] {
            ed->close();
            // Before the application's own quitting closes what is left.
            closedFirst = !box || !box->isVisible();
        });
        QCOMPARE(code, 0);
        QVERIFY(closedFirst);
        QVERIFY2(visibleWindows().isEmpty(), "a window was left open");
        QTRY_VERIFY(box.isNull());
    }

    void exitWithTheBoxOpenEndsTheProgram()
    {
        TestEditor ed;
        ed->show();
        QPointer<frmAbout> box = chooseAbout(ed);
        QVERIFY(box);
        const int code = runApplication([&] { ed.action("mnuExit")->trigger(); });
        QCOMPARE(code, 0);
        // The program would now return from main, taking the window and its box.
        ed.window.reset();
        QVERIFY(box.isNull());
    }

    void windowsShowTheApplicationIcon()
    {
        TestEditor ed;
        frmAbout* box = chooseAbout(ed);
        QVERIFY(box);
        for (const QWidget* w : {static_cast<QWidget*>(ed.window.get()), static_cast<QWidget*>(box)}) {
            const QIcon icon = w->windowIcon();
            QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
            const QImage shown = icon.pixmap(QSize(32, 32)).toImage();
            QCOMPARE(shown.size(), QSize(32, 32));
            // Not blank: the picture has both transparent and opaque parts.
            QVERIFY(shown.pixelColor(0, 0).alpha() == 0);
            QVERIFY(shown.pixelColor(16, 16).alpha() == 255);
        }
    }
};

OVEX_TEST_MAIN(AboutTest)
#include "tst_about.moc"
