// Desktop service stand-ins: packed colours, where file dialogs start, the
// test doubles, and the real Qt dialogs answered from a timer.
#include "TestSupport.h"

#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "platform/PackedColor.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

using namespace ovex;
using namespace Qt::StringLiterals;

namespace {

const QString DefaultFolder = QStringLiteral("\\Program Files\\ovexChat\\");

// Waits for a visible top-level T and hands it to `answer` once, which must
// close it. Should that not happen, every modal dialog is rejected after a
// while, so a broken adapter fails the test instead of hanging it.
template <typename T>
class DialogAnswerer
{
public:
    explicit DialogAnswerer(std::function<void(T*)> answer)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this, answer] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<T*>(w); dialog && dialog->isVisible()) {
                    m_poll.stop();
                    m_seen = true;
                    return answer(dialog);
                }
            }
        });
        m_poll.start(20);
        QTimer::singleShot(10000, &m_poll, [] {
            while (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        });
    }

    bool Seen() const { return m_seen; }

private:
    QTimer m_poll;
    bool m_seen = false;
};

} // namespace

class PlatformTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString folder() const { return QFileInfo(m_dir.path()).canonicalFilePath(); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Red in the low byte; alpha is not part of the packed value.
    void packedColor_data()
    {
        QTest::addColumn<int>("packed");
        QTest::addColumn<QColor>("color");
        QTest::newRow("pure red") << 0x0000FF << QColor(255, 0, 0);
        QTest::newRow("pure blue") << 0xFF0000 << QColor(0, 0, 255);
        QTest::newRow("mixed") << 0x123456 << QColor(0x56, 0x34, 0x12);
    }

    void packedColor()
    {
        QFETCH(int, packed);
        QFETCH(QColor, color);
        QCOMPARE(PackedToQColor(packed), color);
        QCOMPARE(QColorToPacked(color), packed);
        color.setAlpha(128);
        QCOMPARE(QColorToPacked(color), packed);
    }

    void startFolder_data()
    {
        QTest::addColumn<QString>("initDir");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expected");
        const QString home = QDir::homePath();
#ifndef Q_OS_WIN
        QTest::newRow("Windows full path") << DefaultFolder << u"C:\\Users\\x\\Night.theme"_s << home;
#endif
        QTest::newRow("bare name") << DefaultFolder << QStringLiteral("Night.theme") << home;
        QTest::newRow("full path") << DefaultFolder << folder() + u"/Night.theme"_s << folder();
        QTest::newRow("full path, no InitDir") << QString() << folder() + u"/x.theme"_s << folder();
        QTest::newRow("folder missing") << DefaultFolder << folder() + u"/gone/x.theme"_s << home;
    }

    void startFolder()
    {
        QFETCH(QString, initDir);
        QFETCH(QString, fileName);
        QFETCH(QString, expected);
        QCOMPARE(StartFolder(initDir, fileName), expected);
    }

    // Answers are given in order; a cancel, or no answer left, keeps what the
    // last dialog left; each dialog is recorded with what it started from.
    void fakeDialogScriptsAndRecords()
    {
        FakeCommonDialog cd;
        cd.FileName = QStringLiteral("Night.theme");
        cd.AnswerFile(QStringLiteral("/t/Night.theme"));
        cd.CancelFile();
        cd.AnswerColor(0x0000FF);
        QCOMPARE(cd.ShowSave(), DialogResult::Chosen);
        QCOMPARE(cd.ShowOpen(), DialogResult::Cancelled);
        QCOMPARE(cd.FileName, QStringLiteral("/t/Night.theme"));
        QCOMPARE(cd.ShowColor(), DialogResult::Chosen);
        QCOMPARE(cd.Color, 0x0000FF);
        QCOMPARE(cd.ShowColor(), DialogResult::Cancelled);
        QCOMPARE(cd.Color, 0x0000FF);

        const auto& shown = cd.History();
        QCOMPARE(shown.size(), 4);
        QCOMPARE(shown[0].kind, FakeCommonDialog::Kind::Save);
        QCOMPARE(shown[0].fileName, QStringLiteral("Night.theme"));
        QCOMPARE(shown[1].kind, FakeCommonDialog::Kind::Open);
        QCOMPARE(shown[1].fileName, QStringLiteral("/t/Night.theme"));
        QCOMPARE(shown[3].color, 0x0000FF);
    }

    void qtFileDialogChoice_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("typed");
        QTest::newRow("open existing") << false << QStringLiteral("Night.theme");
        QTest::newRow("open missing") << false << QStringLiteral("missing.theme");
        QTest::newRow("save without suffix") << true << QStringLiteral("Day");
    }

    void qtFileDialogChoice()
    {
        QFETCH(bool, save);
        QFETCH(QString, typed);
        QVERIFY(QFile(m_dir.filePath(QStringLiteral("Night.theme"))).open(QIODevice::WriteOnly));
        QtCommonDialog cd;
        cd.Filter = QStringLiteral(".theme");
        cd.InitDir = DefaultFolder;
        cd.FileName = folder() + u"/Old.theme"_s;
        DialogAnswerer<QFileDialog> answerer([&](QFileDialog* d) {
            QCOMPARE(d->directory().absolutePath(), folder());
            QCOMPARE(d->nameFilters(), QStringList{QStringLiteral("Theme files (*.theme)")});
            QCOMPARE(d->selectedFiles(), QStringList{folder() + u"/Old.theme"_s});
            QVERIFY(d->testOption(QFileDialog::DontUseNativeDialog) && d->isModal());
            QCOMPARE(d->acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            QCOMPARE(d->defaultSuffix(), QString());
            // As a user types it; selectFile() leaves a focused name box alone.
            if (auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                edit->setText(typed);
            static_cast<QDialog*>(d)->accept();   // QFileDialog's own is protected
        });
        QCOMPARE(save ? cd.ShowSave() : cd.ShowOpen(), DialogResult::Chosen);
        QVERIFY(answerer.Seen());
        QCOMPARE(cd.FileName, QDir::toNativeSeparators(folder() + u'/' + typed));
    }

    // Replacing a file is confirmed first; "No" returns to the dialog.
    void qtSaveDialogAsksBeforeReplacing_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void qtSaveDialogAsksBeforeReplacing()
    {
        QFETCH(bool, replace);
        QVERIFY(QFile(m_dir.filePath(QStringLiteral("Night.theme"))).open(QIODevice::WriteOnly));
        QtCommonDialog cd;
        cd.FileName = folder() + u"/Night.theme"_s;
        bool stillOpenAfterNo = false;
        DialogAnswerer<QMessageBox> question([&](QMessageBox* box) {
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        DialogAnswerer<QFileDialog> answerer([&](QFileDialog* d) {
            static_cast<QDialog*>(d)->accept();
            stillOpenAfterNo = d->isVisible();
            if (stillOpenAfterNo)
                d->reject();
        });
        const DialogResult result = cd.ShowSave();
        QVERIFY(answerer.Seen() && question.Seen());
        QCOMPARE(result, replace ? DialogResult::Chosen : DialogResult::Cancelled);
        QCOMPARE(stillOpenAfterNo, !replace);
    }

    void qtColorDialogChoice()
    {
        QtCommonDialog cd;
        cd.Color = 0x0000FF;
        DialogAnswerer<QColorDialog> answerer([&](QColorDialog* d) {
            QCOMPARE(d->currentColor(), QColor(255, 0, 0));
            QVERIFY(d->testOption(QColorDialog::DontUseNativeDialog));
            d->setCurrentColor(QColor(0x12, 0x34, 0x56));
            d->accept();
        });
        QCOMPARE(cd.ShowColor(), DialogResult::Chosen);
        QVERIFY(answerer.Seen());
        QCOMPARE(cd.Color, 0x563412);
    }

    void qtDialogCancel_data()
    {
        QTest::addColumn<int>("which");   // 0 open, 1 save, 2 colour
        QTest::newRow("open") << 0;
        QTest::newRow("save") << 1;
        QTest::newRow("colour") << 2;
    }

    void qtDialogCancel()
    {
        QFETCH(int, which);
        QtCommonDialog cd;
        const QString name = folder() + u"/Kept.theme"_s;
        cd.FileName = name;
        cd.Color = 0x00FF00;
        DialogAnswerer<QDialog> answerer([](QDialog* d) { d->reject(); });
        const DialogResult result = which == 0 ? cd.ShowOpen() : which == 1 ? cd.ShowSave() : cd.ShowColor();
        QVERIFY(answerer.Seen());
        QCOMPARE(result, DialogResult::Cancelled);
        QCOMPARE(cd.FileName, name);
        QCOMPARE(cd.Color, 0x00FF00);
    }

    void qtMessageBox_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::newRow("64 information") << 64 << int(QMessageBox::Information);
        QTest::newRow("16 critical") << 16 << int(QMessageBox::Critical);
    }

    void qtMessageBox()
    {
        QFETCH(int, style);
        QFETCH(int, icon);
        const QString text = QStringLiteral("Success! Your theme file has now been created!");
        DialogAnswerer<QMessageBox> answerer([&](QMessageBox* box) {
            QCOMPARE(box->text(), text);
            QCOMPARE(box->windowTitle(), QStringLiteral("Saved"));
            QCOMPARE(int(box->icon()), icon);
            QVERIFY(box->isModal());
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageBox().Show(text, QStringLiteral("Saved"), MessageStyle(style));
        QVERIFY(answerer.Seen());
    }
};

OVEX_TEST_MAIN(PlatformTest)
#include "tst_platform.moc"
