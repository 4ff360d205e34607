// Colour text and what ticking a slot and picking a colour do to it.
#include "TestSupport.h"

#include "slots/MRW_Color.h"

using namespace ovex;
using ovex::test::TestEditor;

class SlotsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void colorToText_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("black") << 0 << "0,0,0";
        QTest::newRow("red") << 0x0000FF << "255,0,0";
        QTest::newRow("green") << 0x00FF00 << "0,255,0";
        QTest::newRow("blue") << 0xFF0000 << "0,0,255";
        QTest::newRow("white") << 0xFFFFFF << "255,255,255";
        QTest::newRow("mixed") << 0x336699 << "153,102,51";
        QTest::newRow("low red") << 1 << "1,0,0";
        QTest::newRow("low green") << 256 << "0,1,0";
        QTest::newRow("low blue") << 65536 << "0,0,1";
        QTest::newRow("unset") << UnsetColor << "";
        QTest::newRow("minus one") << -1 << "";
        QTest::newRow("just above") << 0x1000000 << "0,0,0";
        QTest::newRow("largest") << 0x7FFFFFFF << "0,0,0";
    }
    void colorToText()
    {
        QFETCH(qint32, value);
        QFETCH(QString, text);
        QCOMPARE(Color_ToText(value), text);
    }

    void splitKeepsDigitsWrittenBeforeAFailure()
    {
        DigitArray digits{7, 7};
        // Index 3 lies outside a two-digit array: nothing is written.
        QCOMPARE(Color_SplitBase256(0x0102, 3, digits, false), SplitResult::OutOfRange);
        QCOMPARE(digits, DigitArray({7, 7}));
        // 0x20304 needs a third digit: the first one computed overflows.
        QCOMPARE(Color_SplitBase256(0x20304, 2, digits, false), SplitResult::Overflow);
        QCOMPARE(digits, DigitArray({7, 7}));
        QCOMPARE(Color_SplitBase256(0x0304, 2, digits, true), SplitResult::Done);
        QCOMPARE(digits, DigitArray({4, 3}));
        DigitArray none;
        QCOMPARE(Color_SplitBase256(5, 0, none, true), SplitResult::Done);
        QVERIFY(none.empty());
    }

    // The four states of a colour slot and the moves between them.
    void colourSlotStates()
    {
        TestEditor ed;
        const SettingSlots& slots = ed.slots();
        Swatch* s = slots.s[19];

        ed.cd->AnswerColor(0x0000FF);
        QTest::mouseClick(slots.cmd[19], Qt::LeftButton);   // Empty -> Picked
        QCOMPARE(s->BackColor(), 0x0000FF);
        QCOMPARE(s->Tag(), QStringLiteral("255,0,0"));
        QCOMPARE(slots.Value(19), 0);

        QTest::mouseClick(slots.chk[19], Qt::LeftButton);   // Picked -> Set
        QCOMPARE(slots.Value(19), 1);
        QCOMPARE(s->Tag(), QStringLiteral("255,0,0"));

        ed.cd->CancelColor();
        QTest::mouseClick(slots.cmd[19], Qt::LeftButton);   // a cancel changes nothing
        QCOMPARE(s->BackColor(), 0x0000FF);
        QCOMPARE(s->Tag(), QStringLiteral("255,0,0"));
        QCOMPARE(slots.Value(19), 1);

        QTest::mouseClick(slots.chk[19], Qt::LeftButton);   // Set -> Empty
        QCOMPARE(s->BackColor(), UnsetColor);
        QCOMPARE(s->Tag(), QString());

        QTest::mouseClick(slots.chk[19], Qt::LeftButton);   // Empty -> Ticked-empty: colour not back
        QCOMPARE(s->BackColor(), UnsetColor);
        QCOMPARE(s->Tag(), QString());

        ed.cd->AnswerColor(0x336699);
        QTest::mouseClick(slots.cmd[19], Qt::LeftButton);   // Ticked-empty -> Set
        QCOMPARE(s->Tag(), QStringLiteral("153,102,51"));
        QCOMPARE(slots.Value(19), 1);
        QVERIFY(ed.messages->Shown().isEmpty());
    }

    // The dialog starts from the colour last picked, in any slot.
    void colourDialogStartsWithLastPick()
    {
        TestEditor ed;
        ed.cd->AnswerColor(0x00FF00);
        ed.cd->CancelColor();
        QTest::mouseClick(ed.slots().cmd[2], Qt::LeftButton);
        QTest::mouseClick(ed.slots().cmd[5], Qt::LeftButton);
        QCOMPARE(ed.cd->History().size(), 2);
        QCOMPARE(ed.cd->History().at(1).color, 0x00FF00);
        QCOMPARE(ed.slots().s[5]->Tag(), QString());
    }

    void tickingASizeSlotTakesItsOwnBox_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("text");
        QTest::newRow("system") << 27 << "9";
        QTest::newRow("user") << 28 << "14";
        QTest::newRow("menu") << 29 << "abc";
        QTest::newRow("title") << 30 << "";
        QTest::newRow("subtext") << 31 << " 7 ";
    }
    void tickingASizeSlotTakesItsOwnBox()
    {
        QFETCH(int, slot);
        QFETCH(QString, text);
        TestEditor ed;
        const SettingSlots& slots = ed.slots();
        for (int other = FirstSizeSlot; other < SlotCount; ++other)
            slots.SizeBox(other)->setText(QStringLiteral("box%1").arg(other));
        slots.SizeBox(slot)->setText(text);

        slots.SetValue(slot, 1);
        QCOMPARE(slots.s[slot]->Tag(), text);
        // Editing the box later does not change the value text.
        slots.SizeBox(slot)->setText(QStringLiteral("99"));
        QCOMPARE(slots.s[slot]->Tag(), text);

        slots.SetValue(slot, 0);
        QCOMPARE(slots.s[slot]->Tag(), QString());
        QCOMPARE(slots.s[slot]->BackColor(), UnsetColor);
    }

    // Keyboard only: Tab to a ">" button, Space picks, Space on the check box ticks.
    void keyboardPicksAndTicks()
    {
        TestEditor ed;
        ed->show();
        ed->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ed.window.get()));
        ed.cd->AnswerColor(0x0000FF);
        QCOMPARE(QApplication::focusWidget(), ed.slots().cmd[0]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(ed.slots().s[0]->Tag(), QStringLiteral("255,0,0"));
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ed.slots().chk[0]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(ed.slots().Value(0), 1);
    }
};

OVEX_TEST_MAIN(SlotsTest)
#include "tst_slots.moc"
