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
    explicit DialogAnswerer(std::function<void(T*)> answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<T*>(w); dialog && dialog->isVisible()) {
                    m_poll.stop();
                    m_seen = true;
                    m_answer(dialog);
                    return;
                }
            }
        });
        m_poll.start(20);
        m_guard.setSingleShot(true);
        QObject::connect(&m_guard, &QTimer::timeout, [] {
            while (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        });
        m_guard.start(10000);
    }

    bool Seen() const { return m_seen; }

private:
    std::function<void(T*)> m_answer;
    QTimer m_poll;
    QTimer m_guard;
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

    void packedColor_data()
    {
        QTest::addColumn<int>("packed");
        QTest::addColumn<QColor>("color");
        QTest::newRow("pure red") << 0x0000FF << QColor(255, 0, 0);
        QTest::newRow("pure blue") << 0xFF0000 << QColor(0, 0, 255);
        QTest::newRow("mixed") << 0x123456 << QColor(0x56, 0x34, 0x12);
        QTest::newRow("white") << 0xFFFFFF << QColor(255, 255, 255);
    }

    void packedColor()
    {
        QFETCH(int, packed);
        QFETCH(QColor, color);
        QCOMPARE(PackedToQColor(packed), color);
        QCOMPARE(QColorToPacked(color), packed);
        // Alpha is not part of the packed value.
        QColor translucent = color;
        translucent.setAlpha(128);
        QCOMPARE(QColorToPacked(translucent), packed);
    }

    void packedColorRoundTrip()
    {
        for (ColorValue v = 0; v <= 0xFFFFFF; v += 0x010305)
            QCOMPARE(QColorToPacked(PackedToQColor(v)), v);
    }

    void fileDialogFilter()
    {
        QCOMPARE(FileDialogFilter(QStringLiteral(".theme")), QStringLiteral("Theme files (*.theme)"));
    }

    void startFolder_data()
    {
        QTest::addColumn<QString>("initDir");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expected");
        const QString home = QDir::homePath();
#ifndef Q_OS_WIN
        QTest::newRow("default folder is home here") << DefaultFolder << QString() << home;
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

    void fakeDialogScriptsAndRecords()
    {
        FakeCommonDialog cd;
        cd.Filter = QStringLiteral(".theme");
        cd.InitDir = DefaultFolder;
        cd.FileName = QStringLiteral("Night.theme");
        cd.AnswerFile(QStringLiteral("/t/Night.theme"));
        cd.CancelFile();
        cd.AnswerColor(0x0000FF);

        QCOMPARE(cd.ShowSave(), DialogResult::Chosen);
        QCOMPARE(cd.FileName, QStringLiteral("/t/Night.theme"));
        // A cancel keeps the name the last dialog left.
        QCOMPARE(cd.ShowOpen(), DialogResult::Cancelled);
        QCOMPARE(cd.FileName, QStringLiteral("/t/Night.theme"));
        QCOMPARE(cd.ShowColor(), DialogResult::Chosen);
        QCOMPARE(cd.Color, 0x0000FF);
        QCOMPARE(cd.PendingAnswers(), 0);
        // Nothing left to answer: the user cancels.
        QCOMPARE(cd.ShowColor(), DialogResult::Cancelled);
        QCOMPARE(cd.ShowOpen(), DialogResult::Cancelled);
        QCOMPARE(cd.Color, 0x0000FF);

        const auto& shown = cd.History();
        QCOMPARE(shown.size(), 5);
        QCOMPARE(shown[0].kind, FakeCommonDialog::Kind::Save);
        QCOMPARE(shown[0].fileName, QStringLiteral("Night.theme"));
        QCOMPARE(shown[1].kind, FakeCommonDialog::Kind::Open);
        QCOMPARE(shown[1].fileName, QStringLiteral("/t/Night.theme"));
        QCOMPARE(shown[2].color, 0);
        QCOMPARE(shown[3].kind, FakeCommonDialog::Kind::Color);
        QCOMPARE(shown[3].color, 0x0000FF);
    }

    void fakeMessageBoxRecords()
    {
        FakeMessageBox box;
        box.Show(QStringLiteral("a"), QStringLiteral("A"), MessageStyle::Information);
        box.Show(QStringLiteral("b"), QStringLiteral("B"), MessageStyle::Critical);
        const QList<FakeMessageBox::Message> expected{
            {QStringLiteral("a"), QStringLiteral("A"), MessageStyle::Information},
            {QStringLiteral("b"), QStringLiteral("B"), MessageStyle::Critical}};
        QCOMPARE(box.Shown(), expected);
    }

    void qtFileDialogChoice_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("typed");
        QTest::newRow("open existing") << false << QStringLiteral("Night.theme");
        QTest::newRow("open missing") << false << QStringLiteral("missing.theme");
        QTest::newRow("save without suffix") << true << QStringLiteral("Day");
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
        QFile existing(m_dir.filePath(QStringLiteral("Night.theme")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();

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
        QVERIFY(answerer.Seen());
        QVERIFY(question.Seen());
        QCOMPARE(result, replace ? DialogResult::Chosen : DialogResult::Cancelled);
        QCOMPARE(stillOpenAfterNo, !replace);
    }

    void qtFileDialogChoice()
    {
        QFETCH(bool, save);
        QFETCH(QString, typed);
        QFile existing(m_dir.filePath(QStringLiteral("Night.theme")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();

        QtCommonDialog cd;
        cd.Filter = QStringLiteral(".theme");
        cd.InitDir = DefaultFolder;
        cd.FileName = folder() + u"/Old.theme"_s;
        QString startDir;
        QStringList filters;
        QStringList preselected;
        bool nativeOff = false;
        bool modal = false;
        QFileDialog::AcceptMode mode{};
        QString suffix = QStringLiteral("unset");
        DialogAnswerer<QFileDialog> answerer([&](QFileDialog* d) {
            startDir = d->directory().absolutePath();
            filters = d->nameFilters();
            preselected = d->selectedFiles();
            nativeOff = d->testOption(QFileDialog::DontUseNativeDialog);
            modal = d->isModal();
            mode = d->acceptMode();
            suffix = d->defaultSuffix();
            // As a user types it; selectFile() leaves a focused name box alone.
            if (auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                edit->setText(typed);
            static_cast<QDialog*>(d)->accept();   // QFileDialog's own is protected
        });

        QCOMPARE(save ? cd.ShowSave() : cd.ShowOpen(), DialogResult::Chosen);
        QVERIFY(answerer.Seen());
        QCOMPARE(startDir, folder());
        QCOMPARE(filters, QStringList{QStringLiteral("Theme files (*.theme)")});
        QCOMPARE(preselected, QStringList{folder() + u"/Old.theme"_s});
        QVERIFY(nativeOff);
        QVERIFY(modal);
        QCOMPARE(mode, save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QCOMPARE(suffix, QString());
        QCOMPARE(cd.FileName, QDir::toNativeSeparators(folder() + u'/' + typed));
    }

    void qtColorDialogChoice()
    {
        QtCommonDialog cd;
        cd.Color = 0x0000FF;
        QColor start;
        bool nativeOff = false;
        DialogAnswerer<QColorDialog> answerer([&](QColorDialog* d) {
            start = d->currentColor();
            nativeOff = d->testOption(QColorDialog::DontUseNativeDialog);
            d->setCurrentColor(QColor(0x12, 0x34, 0x56));
            d->accept();
        });
        QCOMPARE(cd.ShowColor(), DialogResult::Chosen);
        QVERIFY(answerer.Seen());
        QCOMPARE(start, QColor(255, 0, 0));
        QVERIFY(nativeOff);
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
        QString text, title;
        int shownIcon = -1;
        bool modal = false;
        QMessageBox::StandardButtons buttons;
        DialogAnswerer<QMessageBox> answerer([&](QMessageBox* box) {
            text = box->text();
            title = box->windowTitle();
            shownIcon = box->icon();
            modal = box->isModal();
            buttons = box->standardButtons();
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->done(0);
        });
        QtMessageBox().Show(QStringLiteral("Success! Your theme file has now been created!"),
                            QStringLiteral("Saved"), MessageStyle(style));
        QVERIFY(answerer.Seen());
        QCOMPARE(text, QStringLiteral("Success! Your theme file has now been created!"));
        QCOMPARE(title, QStringLiteral("Saved"));
        QCOMPARE(shownIcon, icon);
        QVERIFY(modal);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

OVEX_TEST_MAIN(PlatformTest)
#include "tst_platform.moc"
