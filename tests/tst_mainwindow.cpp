// The main window as it starts: controls, captions, focus, menus.
#include "TestSupport.h"
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
using namespace ovex;
using ovex::test::TestEditor;
class MainWindowTest : public QObject {
    Q_OBJECT
    static QString at(const char* group, int i) { return QStringLiteral("%1(%2)").arg(QLatin1String(group)).arg(i); }
private Q_SLOTS:
    void startsWithEmptyTheme() {
        TestEditor ed;
        for (int i = 0; i < SlotCount; ++i) {
            QVERIFY2(ed.find<QCheckBox>(at("chk", i)) && ed.slots().Value(i) == 0, qPrintable(QString::number(i)));
            QVERIFY(ed.slots().s[i]->Tag().isEmpty() && ed.slots().s[i]->BackColor() == UnsetColor);
            QCOMPARE(ed.find<QPushButton>(at("cmd", i)) != nullptr, i < ColorSlotCount);
        }
        QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Theme Name"));
        for (QLineEdit* box : ed.slots().sizeBox) QCOMPARE(box->text(), QStringLiteral("12"));
    }
    // A click at a control's centre reaches it, not a neighbour lying over it.
    void everyControlTakesItsClicks() {
        TestEditor ed;
        QVERIFY(ovex::test::ShowActive(ed.window.get()));
        QList<QWidget*> controls(ed.slots().chk.begin(), ed.slots().chk.end());
        controls << QList<QWidget*>(ed.slots().cmd.begin(), ed.slots().cmd.end());
        for (QLineEdit* box : ed.window->findChildren<QLineEdit*>()) controls << box;
        QCOMPARE(controls.size(), SlotCount + ColorSlotCount + 6);
        for (QWidget* control : controls) {
            QWidget* hit = ed->childAt(control->mapTo(ed.window.get(), control->rect().center()));
            while (hit && !qobject_cast<QAbstractButton*>(hit) && !qobject_cast<QLineEdit*>(hit))
                hit = hit->parentWidget();   // a line edit may answer with an inner child
            QVERIFY2(hit == control, qPrintable(control->objectName() + " covered by " + (hit ? hit->objectName() : "nothing")));
        }
    }
    // Every caption is whole, and the rows beside the two frames end before them.
    void captionsFit() {
        TestEditor ed;
        const int frame1 = ed.find("Frame1")->x(), frme2 = ed.find("Frme2")->x();
        for (int i = 0; i < SlotCount; ++i) {
            const auto* label = ed.find<QLabel>(i == 0 ? QStringLiteral("lbl1") : QStringLiteral("Label%1").arg(i));
            QVERIFY2(label, qPrintable(QString::number(i)));
            const int right = label->x() + label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(right <= label->geometry().right() + 1 && label->fontMetrics().height() <= label->height()
                         && (i > 2 || right < frame1) && (i < 14 || i > 21 || right < frme2), qPrintable(label->text()));
        }
    }
    void focusOrderByTab() {
        TestEditor ed;
        QVERIFY(ovex::test::ShowActive(ed.window.get()));
        QStringList expected{"cmd(0)", "txtSystem", "txtUser", "txtMenu", "txtWindowTitle", "txtSubtext", "chk(0)", "txtThemeName"};
        for (int i = 1; i < SlotCount; ++i) expected << at("chk", i);
        for (int i = 1; i <= ColorSlotCount; ++i) expected << at("cmd", i % ColorSlotCount);   // and round again
        for (qsizetype k = 0; k < expected.size(); QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab), ++k)
            QCOMPARE(QApplication::focusWidget()->objectName(), expected[k]);
    }
    // Once per change of state, by code, mouse or key; never when unchanged.
    void checkBoxHandlingRunsOncePerChange() {
        TestEditor ed;
        QSignalSpy clicked(ed.window.get(), &frmMain::chkClicked);
        ed.slots().SetValue(5, 0), ed.slots().SetValue(5, 1), ed.slots().SetValue(5, 1);
        QTest::mouseClick(ed.slots().chk[5], Qt::LeftButton), ed.slots().chk[7]->setFocus(), QTest::keyClick(ed.slots().chk[7], Qt::Key_Space);
        QVERIFY(clicked.count() == 3 && clicked.at(0).at(0).toInt() == 5 && clicked.at(2).at(0).toInt() == 7);
        QCOMPARE(ed.slots().Value(5), 0);
    }
    void menusWithAccessKeys() {
        TestEditor ed;
        const auto items = [&](const char* menu) {
            QStringList shown;
            for (QAction* a : ed.find<QMenu>(menu)->actions()) shown << (a->isSeparator() ? QStringLiteral("-") : a->isEnabled() ? a->text() : "disabled");
            return shown;
        };
        QCOMPARE(items("mnuFile"), QStringList({"&New", "-", "&Import", "&Save", "-", "E&xit"}));
        QCOMPARE(items("mnuHelp"), QStringList({"&Website", "S&upport", "-", "&About"}));
        QCOMPARE(items("mnuEdit"), QStringList({"disabled", "disabled", "-", "&Generate Theme...", "disabled"}));   // nothing to undo or recover yet
        QStringList bar;
        for (QAction* a : ed->menuBar()->actions()) bar << a->text();
        QCOMPARE(bar, QStringList({"&File", "&Edit", "&View", "&Help"}));
    }
    // File's items take the desktop's own keys, also from the text boxes, and
    // New's key empties the theme.
    void standardKeys() {
        TestEditor ed;
        QVERIFY(ovex::test::ShowActive(ed.window.get()));
        const QList<QPair<const char*, QKeySequence::StandardKey>> keys = {
            {"mnuNew", QKeySequence::New}, {"mnuImport", QKeySequence::Open}, {"mnuSave", QKeySequence::Save}, {"mnuExit", QKeySequence::Quit}};
        for (const auto& [name, key] : keys) QCOMPARE(ed.action(name)->shortcuts(), QKeySequence::keyBindings(key));
        ed.editor().txtThemeName->setText(QStringLiteral("Night"));
        using Kind = FakeCommonDialog::Kind;
        QList<Kind> shown;
        for (QWidget* w : std::initializer_list<QWidget*>{ed.editor().txtThemeName, ed.slots().SizeBox(31), ed.slots().cmd[0]}) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier), QTest::keyClick(w, Qt::Key_O, Qt::ControlModifier);
            shown << Kind::Save << Kind::Open;
        }
        QCOMPARE(ed.cd->History().size(), shown.size());
        for (qsizetype k = 0; k < shown.size(); ++k) QCOMPARE(ed.cd->History()[k].kind, shown[k]);
        QTest::keyClick(ed.editor().txtThemeName, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Theme Name"));
    }
    void textBoxesKeepMoreThan32767Chars() {
        TestEditor ed;
        for (QLineEdit* box : {ed.editor().txtThemeName, ed.slots().SizeBox(27)})
            { box->setText(QString(40000, u'x')); QCOMPARE(box->text().size(), 40000); }
    }
};
OVEX_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
