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
        QTest::newRow("red is the low byte") << 0x0000FF << "255,0,0";
        QTest::newRow("mixed") << 0x336699 << "153,102,51";
        QTest::newRow("white") << 0xFFFFFF << "255,255,255";
        QTest::newRow("low green") << 256 << "0,1,0";
        QTest::newRow("unset") << UnsetColor << "";
        QTest::newRow("minus one") << -1 << "";
        QTest::newRow("above 24 bits") << 0x1000000 << "0,0,0";
    }
    void colorToText()
    {
        QFETCH(qint32, value);
        QFETCH(QString, text);
        QCOMPARE(Color_ToText(value), text);
    }
    // Empty -> Picked -> Set; a cancel changes nothing; Set -> Empty -> Ticked-empty -> Set.
    void colourSlotStates()
    {
        TestEditor ed;
        const SettingSlots& slots = ed.slots();
        const auto step = [&](QWidget* clicked, int value, const QString& tag, ColorValue color) {
            QTest::mouseClick(clicked, Qt::LeftButton);
            return slots.Value(19) == value && slots.s[19]->Tag() == tag && slots.s[19]->BackColor() == color;
        };
        ed.cd->AnswerColor(0x0000FF);
        QVERIFY(step(slots.cmd[19], 0, "255,0,0", 0x0000FF));
        QVERIFY(step(slots.chk[19], 1, "255,0,0", 0x0000FF));
        ed.cd->CancelColor();
        QVERIFY(step(slots.cmd[19], 1, "255,0,0", 0x0000FF));
        QVERIFY(step(slots.chk[19], 0, "", UnsetColor));
        QVERIFY(step(slots.chk[19], 1, "", UnsetColor));   // the colour does not come back
        ed.cd->AnswerColor(0x336699);
        QVERIFY(step(slots.cmd[19], 1, "153,102,51", 0x336699));
        QVERIFY(ed.messages->Shown().isEmpty());
    }
    void sizeSlotTakesItsOwnBox_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("text");
        for (int slot = FirstSizeSlot; slot < SlotCount; ++slot)
            QTest::addRow("%d", slot) << slot << QStringLiteral(" %1x").arg(slot);
        QTest::newRow("empty box") << 30 << "";
    }
    void sizeSlotTakesItsOwnBox()
    {
        QFETCH(int, slot);
        QFETCH(QString, text);
        TestEditor ed;
        for (int other = FirstSizeSlot; other < SlotCount; ++other)
            ed.slots().SizeBox(other)->setText(other == slot ? text : QStringLiteral("box%1").arg(other));
        ed.slots().SetValue(slot, 1);
        ed.slots().SizeBox(slot)->setText("99");   // later edits do not follow
        QCOMPARE(ed.slots().s[slot]->Tag(), text);
        ed.slots().SetValue(slot, 0);
        QCOMPARE(ed.slots().s[slot]->Tag(), QString());
    }
};

OVEX_TEST_MAIN(SlotsTest)
#include "tst_slots.moc"
