// Colour text and what ticking a slot and picking a colour do to it.
#include "TestSupport.h"

#include "slots/MRW_Color.h"

using namespace ovex;
using ovex::test::TestEditor;

class SlotsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void colorToText()
    {
        const QList<std::pair<qint32, QString>> table{{0x0000FF, "255,0,0"}, {0x336699, "153,102,51"}, {0xFFFF00, "0,255,255"},
                                                      {UnsetColor, ""}, {0x1000000, "0,0,0"}};
        for (const auto& [value, text] : table) QCOMPARE(Color_ToText(value), text);
    }
    // Empty -> Picked -> Set; a cancel changes nothing, on this slot or another; Set -> Empty -> Ticked-empty -> Set.
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
        ed.cd->CancelColor();                            // on another slot: the last pick stays out of it
        QTest::mouseClick(slots.cmd[18], Qt::LeftButton);
        QVERIFY(slots.s[18]->Tag().isEmpty() && slots.s[18]->BackColor() == UnsetColor);
        QVERIFY(step(slots.chk[19], 0, "", UnsetColor));
        QVERIFY(step(slots.chk[19], 1, "", UnsetColor));   // the colour does not come back
        ed.cd->AnswerColor(0x336699);
        QVERIFY(step(slots.cmd[19], 1, "153,102,51", 0x336699));
        QVERIFY(ed.messages->Shown().isEmpty());
    }
    // Ticking a size slot takes the text of its own box at that moment; unticking clears it.
    void sizeSlotTakesItsOwnBox()
    {
        TestEditor ed;
        const auto text = [](int slot) { return slot == 30 ? QString() : QStringLiteral(" %1x").arg(slot); };
        for (int slot = FirstSizeSlot; slot < SlotCount; ++slot) ed.slots().SizeBox(slot)->setText(text(slot));
        for (int slot = FirstSizeSlot; slot < SlotCount; ++slot) {
            ed.slots().SetValue(slot, 1);
            ed.slots().SizeBox(slot)->setText("99");   // later edits do not follow
            QCOMPARE(ed.slots().s[slot]->Tag(), text(slot));
            ed.slots().SetValue(slot, 0);
            QCOMPARE(ed.slots().s[slot]->Tag(), QString());
        }
    }
};

OVEX_TEST_MAIN(SlotsTest)
#include "tst_slots.moc"
