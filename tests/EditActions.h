#pragma once
// Edits made through the window as a user makes them, each named by one short
// line, so that tests can script them and draw them at random:
//   click N            slot N's check box
//   pick N RRGGBB      slot N's ">" button, the colour dialog answering #RRGGBB
//   type F TEXT        TEXT typed into box F (0 the name, 1..5 the size boxes)
//   leave              the focus leaves the boxes, which ends a run of typing
//   import FILE        File, Import, the dialog answering dir/FILE
//   save FILE          File, Save, the dialog answering dir/FILE
//   new, undo, redo    File, New and Edit, Undo and Redo
#include "TestFiles.h"
#include "TestSupport.h"
#include "theme/ThemeKeys.h"
#include "theme/ThemeCapture.h"


namespace ovex::test {

// A theme file that sets every slot and the name; n varies the values.
inline QByteArray FullThemeFile(int n)
{
    QByteArray bytes = "name=Evening " + QByteArray::number(n) + "\r\n";
    for (int i = 0; i < SlotCount; ++i) {
        const QByteArray value = IsSizeSlot(i) ? QByteArray::number(8 + (i + n) % 7)
                                               : QByteArray::number((i * 37 + n * 11) % 256) + ','
                                                     + QByteArray::number((i * 53 + n) % 256) + ','
                                                     + QByteArray::number((i * 91 + n * 7) % 256);
        bytes += SlotTable[i].key + value + "\r\n";
    }
    return bytes;
}

// The files that "import" takes: full0.theme .. full2.theme, and part.theme,
// which sets three slots and the name.
inline bool WriteImportFiles(const QString& dir)
{
    for (int n = 0; n < 3; ++n) {
        if (!WriteTestFile(dir + QStringLiteral("/full%1.theme").arg(n), FullThemeFile(n)))
            return false;
    }
    return WriteTestFile(dir + QStringLiteral("/part.theme"),
                         "name=Part\r\ncontrol=10,20,30\r\nmenutext=1,2,3\r\nsystemtextsize=9\r\n");
}

inline void TypeInto(QLineEdit* box, const QString& text)
{
    box->setFocus(Qt::OtherFocusReason);
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, char(c.unicode()));
        else
            box->insert(QString(c));  // as an input method would: QTest keys are ASCII
    }
}

// Runs one edit; false when the line names none.
inline bool Perform(TestEditor& ed, const QString& line, const QString& dir)
{
    const QStringList part = line.split(u' ');
    const QString& verb = part[0];
    const auto number = [&](int i) { return part.value(i).toInt(); };
    if (verb == u"click") {
        ed.slots().chk[number(1)]->click();
    } else if (verb == u"pick") {
        const QRgb rgb = part.value(2).toUInt(nullptr, 16);
        ed.cd->AnswerColor(ColorValue(qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16));
        ed.slots().cmd[number(1)]->click();
    } else if (verb == u"type") {
        TypeInto(TextBox(ed.editor(), NameField + number(1)), line.section(u' ', 2));
    } else if (verb == u"leave") {
        ed.slots().cmd[0]->setFocus(Qt::OtherFocusReason);
    } else if (verb == u"import" || verb == u"save") {
        ed.cd->AnswerFile(dir + u'/' + part.value(1));
        ed.action(verb == u"import" ? QStringLiteral("mnuImport") : QStringLiteral("mnuSave"))->trigger();
    } else if (verb == u"new") {
        ed.action(QStringLiteral("mnuNew"))->trigger();
    } else if (verb == u"undo" || verb == u"redo") {
        ed.action(verb == u"undo" ? QStringLiteral("mnuUndo") : QStringLiteral("mnuRedo"))->trigger();
    } else {
        return false;
    }
    return true;
}

inline bool PerformAll(TestEditor& ed, const QString& script, const QString& dir)
{
    for (const QString& line : script.split(u';', Qt::SkipEmptyParts)) {
        if (!Perform(ed, line.trimmed(), dir))
            return false;
    }
    return true;
}

} // namespace ovex::test
