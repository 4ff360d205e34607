// The real Qt dialogs, answered from a timer.
#include "TestSupport.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
using namespace ovex;
using namespace Qt::StringLiterals;
// Hands the first visible top-level T to `answer`; modal dialogs left open after 10 s are rejected.
template <typename T>
struct Answerer {
    QTimer poll;
    bool seen = false;
    explicit Answerer(std::function<void(T*)> answer) {
        QObject::connect(&poll, &QTimer::timeout, [this, answer] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<T*>(w); d && d->isVisible() && !std::exchange(seen, true)) answer(d);
        });
        poll.start(20);
        QTimer::singleShot(10000, &poll, [] { while (auto* m = qobject_cast<QDialog*>(QApplication::activeModalWidget())) m->reject(); });
    }
};
class PlatformTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_folder = QFileInfo(m_dir.path()).canonicalFilePath();
private Q_SLOTS:
    // The colour rows also check packed colours: 0x0000FF shows red, and back.
    void qtDialogs_data() {
        QTest::addColumn<int>("kind"), QTest::addColumn<bool>("choose");   // kind: 0 open, 1 save, 2 colour
        for (int kind : {0, 1, 2})
            for (bool choose : {true, false})
                QTest::addRow("%s %d", std::array{"open", "save", "colour"}[kind], choose) << kind << choose;
    }
    void qtDialogs() {
        QFETCH(int, kind); QFETCH(bool, choose);
        QtCommonDialog cd;
        cd.Filter = u".theme"_s, cd.InitDir = u"\\Program Files\\ovexChat\\"_s;
        cd.FileName = m_folder + u"/Old.theme"_s, cd.Color = 0x0000FF;
        Answerer<QDialog> answerer([&](QDialog* d) {
            if (auto* f = qobject_cast<QFileDialog*>(d)) {
                QCOMPARE(f->directory().absolutePath(), m_folder);
                QCOMPARE(f->nameFilters(), QStringList{u"Theme files (*.theme)"_s});
                QCOMPARE(f->acceptMode(), kind == 1 ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
                f->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"Day"_s);   // typed; no suffix added
            } else if (auto* c = qobject_cast<QColorDialog*>(d)) {
                QCOMPARE(c->currentColor(), QColor(255, 0, 0));
                c->setCurrentColor(QColor(0x12, 0x34, 0x56));
            }
            choose ? d->accept() : d->reject();
        });
        QCOMPARE(kind == 0 ? cd.ShowOpen() : kind == 1 ? cd.ShowSave() : cd.ShowColor(), choose ? DialogResult::Chosen : DialogResult::Cancelled);
        QVERIFY(answerer.seen);
        QCOMPARE(cd.FileName, QDir::toNativeSeparators(m_folder + (choose && kind < 2 ? u"/Day"_s : u"/Old.theme"_s)));
        QCOMPARE(cd.Color, choose && kind == 2 ? 0x563412 : 0x0000FF);
    }
    // Replacing a file is confirmed first; "No" returns to the dialog.
    void qtSaveAsksBeforeReplacing() {
        QVERIFY(QFile(m_dir.filePath(u"Night.theme"_s)).open(QIODevice::WriteOnly));
        for (bool replace : {true, false}) {
            QtCommonDialog cd;
            cd.FileName = m_folder + u"/Night.theme"_s;
            bool stillOpen = false;
            Answerer<QMessageBox> question([&](QMessageBox* box) { box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click(); });
            Answerer<QFileDialog> answerer([&](QFileDialog* d) {
                static_cast<QDialog*>(d)->accept();   // QFileDialog's own is protected
                if ((stillOpen = d->isVisible())) d->reject();
            });
            QCOMPARE(cd.ShowSave(), replace ? DialogResult::Chosen : DialogResult::Cancelled);
            QVERIFY(answerer.seen && question.seen && stillOpen == !replace);
        }
    }
    void qtMessageBox() {
        for (const auto& row : {std::pair{64, QMessageBox::Information}, {16, QMessageBox::Critical}}) {
            const QMessageBox::Icon icon = row.second;   // clang 14 cannot capture a structured binding
            Answerer<QMessageBox> answerer([&](QMessageBox* box) {
                QVERIFY(box->icon() == icon && box->text() + box->windowTitle() == u"TextTitle"_s);
                box->button(QMessageBox::Ok)->click();
            });
            QtMessageBox().Show(u"Text"_s, u"Title"_s, MessageStyle(row.first)); QVERIFY(answerer.seen);
        }
    }
};
OVEX_TEST_MAIN(PlatformTest)
#include "tst_platform.moc"
