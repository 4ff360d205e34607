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
    for (QWidget* w : visibleWindows())
        if (auto* box = qobject_cast<frmAbout*>(w))
            boxes << box;
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
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, target->mapTo(top, target->rect().center()));
}

// Runs the application's event loop, doing `action` once it runs; gives the
// loop's exit code, or -1 when it had to be stopped.
int runApplication(const std::function<void()>& action)
{
    QObject guard;
    QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(-1); });
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
        QTest::addColumn<QString>("text");   // null: not checked
        QTest::addColumn<int>("align");
        QTest::newRow("picIcon") << "picIcon" << QRect(16, 24, 38, 38) << QString() << 0;
        QTest::newRow("lblTitle") << "lblTitle" << QRect(70, 24, 259, 16)
                                  << "Ovex Theme Editor" << int(Qt::AlignHCenter);
        QTest::newRow("lblVersion") << "lblVersion" << QRect(70, 52, 259, 15)
                                    << "Version: " OVEX_PROJECT_VERSION << int(Qt::AlignHCenter);
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
        QVERIFY(!box->parentWidget() && !box->isModal());
        QCOMPARE(box->windowType(), Qt::Tool);
        const Qt::WindowFlags flags = box->windowFlags();
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        auto* cmdOK = box->findChild<QPushButton*>("cmdOK");
        QVERIFY(cmdOK->isDefault());
        QCOMPARE(box->focusWidget(), cmdOK);
        const QPixmap picture = box->findChild<QLabel*>("picIcon")->pixmap();
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(34, 34));
        // Both windows show the application icon, which is not blank.
        for (const QWidget* w : {static_cast<QWidget*>(ed.window.get()), static_cast<QWidget*>(box)}) {
            QVERIFY(w->windowIcon().availableSizes().contains(QSize(32, 32)));
            const QImage shown = w->windowIcon().pixmap(QSize(32, 32)).toImage();
            QCOMPARE(shown.size(), QSize(32, 32));
            QCOMPARE(shown.pixelColor(0, 0).alpha(), 0);
            QCOMPARE(shown.pixelColor(16, 16).alpha(), 255);
        }
    }

    // Every text is whole inside its box; the notice stays above the separator.
    void textsFit()
    {
        frmAbout box;
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            if (label->objectName() == "picIcon")
                continue;
            QVERIFY2(!label->text().isEmpty(), qPrintable(label->objectName()));
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, label->width(), 1000), label->wordWrap() ? int(Qt::TextWordWrap) : 0,
                label->text());
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(label->text()));
        }
        const auto* cmdOK = box.findChild<QPushButton*>("cmdOK");
        QVERIFY(cmdOK->fontMetrics().horizontalAdvance(cmdOK->text()) < cmdOK->width());
        QVERIFY(box.findChild<QLabel*>("Label1")->geometry().bottom() < frmAbout::SeparatorTop);
    }

    // A grey stroke over a white one, from x 6 (white from 7) to 377.
    void separatorIsEtched()
    {
        frmAbout box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QImage image = box.grab().toImage();
        const QColor background = box.palette().color(QPalette::Window);
        for (int x : {6, 200, 377})
            QCOMPARE(image.pixelColor(x, 163), QColor(128, 128, 128));
        for (QPoint p : {QPoint(7, 164), QPoint(200, 164), QPoint(377, 164), QPoint(200, 165)})
            QCOMPARE(image.pixelColor(p), QColor(255, 255, 255));
        for (QPoint p : {QPoint(200, 162), QPoint(200, 166), QPoint(378, 163), QPoint(5, 163), QPoint(6, 164)})
            QCOMPARE(image.pixelColor(p), background);
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
    }

    void closingUnloadsTheBox_data()
    {
        QTest::addColumn<int>("key");   // 0: click OK, -1: the close box
        QTest::newRow("OK button") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("close box") << -1;
    }

    void closingUnloadsTheBox()
    {
        QFETCH(int, key);
        TestEditor ed;
        ed->show();
        QPointer<frmAbout> box = chooseAbout(ed);
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowExposed(box.data()));
        if (key > 0)
            QTest::keyClick(box.data(), Qt::Key(key));
        else if (key == 0)
            QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        else
            QVERIFY(box->close());
        QVERIFY(openBoxes().isEmpty());
        QTRY_VERIFY(box.isNull());
        QVERIFY(ed->isVisible());
        QVERIFY(chooseAbout(ed));   // the next opening loads a new box
    }

    void editorStaysUsableWhileOpen()
    {
        TestEditor ed;
        ed->show();
        QVERIFY(chooseAbout(ed));
        QVERIFY(QTest::qWaitForWindowActive(openBoxes().first()));
        systemClick(ed.slots().chk[2]);
        QCOMPARE(ed.slots().Value(2), 1);
        ed.cd->AnswerColor(0x0000FF);
        systemClick(ed.slots().cmd[2]);
        QCOMPARE(ed.slots().s[2]->BackColor(), ColorValue(0x0000FF));
        QCOMPARE(openBoxes().size(), 1);
    }

    // Closing the main window, or File, Exit, ends the program and the box;
    // closing the window closes the box before the application quits.
    void endingTheProgramWithTheBoxOpen_data()
    {
        QTest::addColumn<bool>("viaExit");
        QTest::newRow("close main window") << false;
        QTest::newRow("File, Exit") << true;
    }

    void endingTheProgramWithTheBoxOpen()
    {
        QFETCH(bool, viaExit);
        TestEditor ed;
        ed->show();
        QPointer<frmAbout> box = chooseAbout(ed);
        QVERIFY(box);
        bool closedFirst = false;
        const int code = runApplication([&] {
            viaExit ? ed.action("mnuExit")->trigger() : void(ed->close());
            closedFirst = !box || !box->isVisible();
        });
        QCOMPARE(code, 0);
        if (!viaExit) {
            QVERIFY(closedFirst);
            QVERIFY2(visibleWindows().isEmpty(), "a window was left open");
        }
        // The program would now return from main, taking the window and its box.
        ed.window.reset();
        QVERIFY(box.isNull());
    }
};

OVEX_TEST_MAIN(AboutTest)
#include "tst_about.moc"
