// The main window as it starts: controls, captions, stacking, focus, menus.
#include "TestSupport.h"

#include "app/CaptionFrame.h"
#include "theme/ThemeKeys.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

using namespace ovex;
using ovex::test::TestEditor;

namespace {
QString indexed(const char* group, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(group)).arg(i);
}
} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithEmptyTheme()
    {
        TestEditor ed;
        for (int i = 0; i < SlotCount; ++i) {
            QCheckBox* chk = ed.find<QCheckBox>(indexed("chk", i));
            Swatch* s = ed.find<Swatch>(indexed("s", i));
            QVERIFY2(chk && s, qPrintable(QString::number(i)));
            QCOMPARE(chk->isChecked(), false);
            QCOMPARE(s->Tag(), QString());
            QCOMPARE(s->BackColor(), UnsetColor);
            // Only the colour rows show a swatch and a ">" button.
            QCOMPARE(s->isVisibleTo(ed.window.get()), i < ColorSlotCount);
            QCOMPARE(ed.find<QPushButton>(indexed("cmd", i)) != nullptr, i < ColorSlotCount);
        }
        QCOMPARE(ed.find<QLineEdit>("txtThemeName")->text(), QStringLiteral("Theme Name"));
        for (const char* name : {"txtSystem", "txtUser", "txtMenu", "txtWindowTitle", "txtSubtext"})
            QCOMPARE(ed.find<QLineEdit>(name)->text(), QStringLiteral("12"));
        QCOMPARE(ed->windowTitle(), QStringLiteral("Ovex Theme Editor"));
    }

    void unsetSwatchShowsWindowBackgroundAndDiffersFromEveryRgb()
    {
        TestEditor ed;
        Swatch* s = ed.slots().s[0];
        QCOMPARE(s->ShownColor(), s->palette().color(QPalette::Base));
        // White and the unset colour look alike but are different values.
        s->SetBackColor(0xFFFFFF);
        QVERIFY(s->BackColor() != UnsetColor);
        QCOMPARE(s->ShownColor(), QColor(255, 255, 255));
    }

    void unsetSwatchIsPaintedInBaseColour()
    {
        TestEditor ed;
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        Swatch* s = ed.slots().s[3];
        s->SetBackColor(0x0000FF);   // pure red in the packed layout
        const QImage red = s->grab().toImage();
        QCOMPARE(red.pixelColor(red.width() / 2, red.height() / 2), QColor(255, 0, 0));
        s->SetBackColor(UnsetColor);
        const QImage unset = s->grab().toImage();
        QCOMPARE(unset.pixelColor(unset.width() / 2, unset.height() / 2),
                 s->palette().color(QPalette::Base));
    }

    void clientAreaIsFixed()
    {
        TestEditor ed;
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        QCOMPARE(ed->centralWidget()->size(), QSize(529, 462));
        QCOMPARE(ed->minimumSize(), ed->maximumSize());
        const Qt::WindowFlags flags = ed->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    void controlsAtDesignedGeometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        for (int i : {0, 13, 26}) {
            const int y = 16 + 16 * i;
            QTest::addRow("chk %d", i) << indexed("chk", i) << QRect(8, y, 17, 17);
            QTest::addRow("s %d", i) << indexed("s", i) << QRect(32, y, 33, 17);
            QTest::addRow("cmd %d", i) << indexed("cmd", i) << QRect(72, y, 17, 17);
        }
        QTest::newRow("lbl1") << "lbl1" << QRect(96, 16, 345, 17);
        QTest::newRow("Label3") << "Label3" << QRect(96, 64, 377, 17);
        QTest::newRow("Label4") << "Label4" << QRect(96, 80, 393, 17);
        QTest::newRow("Label26") << "Label26" << QRect(96, 432, 73, 17);
        QTest::newRow("Frme") << "Frme" << QRect(8, 0, 513, 457);
        QTest::newRow("Frame1") << "Frame1" << QRect(288, 8, 217, 41);
        QTest::newRow("txtThemeName") << "txtThemeName" << QRect(8, 16, 201, 19);
        QTest::newRow("Frme2") << "Frme2" << QRect(352, 240, 153, 121);
        QTest::newRow("txtSystem") << "txtSystem" << QRect(88, 24, 33, 19);
        QTest::newRow("txtSubtext") << "txtSubtext" << QRect(88, 88, 33, 19);
        QTest::newRow("chk 27") << "chk(27)" << QRect(480, 264, 17, 17);
        QTest::newRow("chk 31") << "chk(31)" << QRect(480, 328, 17, 17);
    }

    void controlsAtDesignedGeometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        TestEditor ed;
        QWidget* w = ed.find(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), geometry);
    }

    void sizeCaptionsEndAtTheirBoxes()
    {
        TestEditor ed;
        for (int slot = FirstSizeSlot; slot < SlotCount; ++slot) {
            auto* label = ed.find<QLabel>(QStringLiteral("Label%1").arg(slot));
            QCOMPARE(label->text(), QString::fromLatin1(SlotTable[slot].caption));
            QCOMPARE(label->geometry().right(), 87);
            QCOMPARE(label->geometry().top(), ed.slots().SizeBox(slot)->geometry().top());
        }
    }

    // Every caption is whole in its box, and the rows beside the two frames
    // end before the frame starts.
    void captionsFit()
    {
        TestEditor ed;
        const QWidget* frame1 = ed.find("Frame1");
        const QWidget* frme2 = ed.find("Frme2");
        for (int i = 0; i < SlotCount; ++i) {
            const auto* label = ed.find<QLabel>(i == 0 ? QStringLiteral("lbl1") : QStringLiteral("Label%1").arg(i));
            QVERIFY(label);
            const QFontMetrics metrics = label->fontMetrics();
            const int needed = metrics.horizontalAdvance(label->text());
            QVERIFY2(needed <= label->width(), qPrintable(label->text()));
            QVERIFY2(metrics.height() <= label->height(), qPrintable(label->text()));
            const int textRight = label->x() + needed;
            if (i <= 2)
                QVERIFY2(textRight < frame1->x(), qPrintable(label->text()));
            if (i >= 14 && i <= 21)
                QVERIFY2(textRight < frme2->x(), qPrintable(label->text()));
        }
        for (const char* name : {"Frame1", "Frme2"}) {
            const auto* frame = ed.find<CaptionFrame>(name);
            QVERIFY(frame->rect().contains(frame->CaptionRect()));
        }
    }

    // Clicks reach the control aimed at, whatever lies near it.
    void everyControlTakesItsClicks()
    {
        TestEditor ed;
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        QList<QWidget*> controls;
        for (QCheckBox* chk : ed.slots().chk)
            controls << chk;
        for (QPushButton* cmd : ed.slots().cmd)
            controls << cmd;
        for (QLineEdit* box : ed.window->findChildren<QLineEdit*>())
            controls << box;
        QCOMPARE(controls.size(), SlotCount + ColorSlotCount + 6);
        QWidget* top = ed.window.get();
        for (QWidget* control : controls) {
            const QPoint centre = control->mapTo(top, control->rect().center());
            QWidget* hit = top->childAt(centre);
            // A line edit may answer with an inner child of its own.
            while (hit && hit != control && hit->parentWidget() && hit->parentWidget() != top
                   && !qobject_cast<QCheckBox*>(hit) && !qobject_cast<QPushButton*>(hit)
                   && !qobject_cast<QLineEdit*>(hit)) {
                hit = hit->parentWidget();
            }
            QVERIFY2(hit == control, qPrintable(control->objectName() + " covered by "
                                                + (hit ? hit->objectName() : QStringLiteral("nothing"))));
        }
    }

    void clickingTheFontSizeBoxTicksIt()
    {
        TestEditor ed;
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        QCheckBox* chk = ed.slots().chk[29];
        const QPoint centre = chk->mapTo(ed.window.get(), chk->rect().center());
        QWidget* hit = ed->childAt(centre);
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(ed.window.get(), centre));
        QVERIFY(chk->isChecked());
    }

    void focusOrderFollowsTheDesign()
    {
        TestEditor ed;
        ed->show();
        ed->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ed.window.get()));
        QStringList expected{"cmd(0)", "txtSystem", "txtUser", "txtMenu", "txtWindowTitle",
                             "txtSubtext", "chk(0)", "txtThemeName"};
        for (int i = 1; i < SlotCount; ++i)
            expected << indexed("chk", i);
        for (int i = 1; i < ColorSlotCount; ++i)
            expected << indexed("cmd", i);
        expected << "cmd(0)";   // and round again

        QCOMPARE(QApplication::focusWidget()->objectName(), expected.first());
        for (qsizetype k = 1; k < expected.size(); ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), expected[k]);
        }
    }

    void menusAsDesigned()
    {
        TestEditor ed;
        const QList<QAction*> top = ed->menuBar()->actions();
        QStringList titles;
        for (QAction* a : top)
            titles << a->text();
        QCOMPARE(titles.first(), QStringLiteral("&File"));
        QCOMPARE(titles.last(), QStringLiteral("&Help"));

        bool plainItems = true;
        const auto itemsOf = [&](const char* menuName) {
            QStringList items;
            for (QAction* a : ed.find<QMenu>(menuName)->actions()) {
                items << (a->isSeparator() ? QStringLiteral("-") : a->text());
                plainItems = plainItems && a->shortcut().isEmpty() && a->isEnabled() && a->isVisible();
            }
            return items;
        };
        QCOMPARE(itemsOf("mnuFile"),
                 QStringList({"&New", "-", "&Import", "&Save", "-", "E&xit"}));
        QCOMPARE(itemsOf("mnuHelp"), QStringList({"&Website", "S&upport", "-", "&About"}));
        QVERIFY2(plainItems, "no shortcut keys, every item enabled and visible");
        for (const char* name : {"mnuNew", "mnuImport", "mnuSave", "mnuExit", "mnuWebsite",
                                 "mnuSupport", "mnuAbout", "mnuSep", "mnuSep2", "mnuSep3"})
            QVERIFY2(ed.action(name), name);
    }

    void accessibleNamesNameTheRow()
    {
        TestEditor ed;
        QVERIFY(ed.slots().chk[19]->accessibleName().contains("Menu background color."));
        QVERIFY(ed.slots().cmd[19]->accessibleName().contains("Menu background color."));
        QVERIFY(ed.slots().chk[30]->accessibleName().contains("Window Title:"));
    }

    // The check-box handling runs once per change of state, whoever changes
    // it, and never when the state is set to what it already is.
    void checkBoxHandlingRunsOncePerChange()
    {
        TestEditor ed;
        QSignalSpy clicked(ed.window.get(), &frmMain::chkClicked);
        ed.slots().SetValue(5, 0);
        QCOMPARE(clicked.count(), 0);
        ed.slots().SetValue(5, 1);
        ed.slots().SetValue(5, 1);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 5);
        QTest::mouseClick(ed.slots().chk[5], Qt::LeftButton);
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(ed.slots().Value(5), 0);
        ed.slots().chk[7]->setFocus();
        QTest::keyClick(ed.slots().chk[7], Qt::Key_Space);
        QCOMPARE(clicked.count(), 3);
        QCOMPARE(clicked.at(2).at(0).toInt(), 7);
    }

    void textBoxesKeepAnyLength()
    {
        TestEditor ed;
        const QString longText(100000, u'x');
        ed.editor().txtThemeName->setText(longText);
        ed.slots().SizeBox(27)->setText(longText);
        QCOMPARE(ed.editor().txtThemeName->text().size(), longText.size());
        QCOMPARE(ed.slots().SizeBox(27)->text().size(), longText.size());
    }

    void loadFillsTablesAndFileSystem()
    {
        TestEditor ed;
        QCOMPARE(Mem_Count(ed.editor().SaveKeys), 32);
        QCOMPARE(Mem_Count(ed.editor().ImportKeys), 33);
        QVERIFY(!IO_IsUnset(ed.editor().FileSystem));
        QVERIFY(!ed.editor().ImportLines.IsDimensioned());
    }

    void editorsAreIndependent()
    {
        TestEditor a;
        TestEditor b;
        a.slots().SetValue(3, 1);
        a.editor().txtThemeName->setText("A");
        QCOMPARE(b.slots().Value(3), 0);
        QCOMPARE(b.editor().txtThemeName->text(), QStringLiteral("Theme Name"));
    }

    void exitEndsTheEventLoop()
    {
        TestEditor ed;
        ed->show();
        QEventLoop loop;
        QTimer::singleShot(0, ed.window.get(), [&] { ed.action("mnuExit")->trigger(); });
        QTimer guard;
        bool timedOut = false;
        guard.singleShot(5000, &loop, [&] { timedOut = true; loop.quit(); });
        loop.exec();
        QVERIFY(!timedOut);
    }

    void closeRequestClosesTheWindow()
    {
        TestEditor ed;
        ed->show();
        QVERIFY(ed->close());
        QVERIFY(!ed->isVisible());
    }
};

OVEX_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
