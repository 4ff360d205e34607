#include "app/frmAbout.h"

#include "app/AppIcon.h"
#include "app/AppSetup.h"
#include "Version.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace ovex {

namespace {

QLabel* makeLabel(const char* name, const QString& text, const QRect& geometry, Qt::Alignment align,
                  bool bold, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(UiFont(bold));
    label->setAlignment(align | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    // A tool window stays out of the task bar; fixed border, close box only.
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Ovex Theme Editor"));
    setWindowIcon(AppIcon());
    setFont(UiFont(false));
    setModal(false);
    setSizeGripEnabled(false);
    // Client area at a fixed place on the screen.
    setGeometry(156, 129, 382, 229);
    setFixedSize(382, 229);

    // 34x34 picture in a 2-pixel sunken border.
    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(AppIcon().pixmap(QSize(34, 34)));
    picIcon->setGeometry(16, 24, 38, 38);

    makeLabel("lblTitle", QStringLiteral("Ovex Theme Editor"), {70, 24, 259, 16}, Qt::AlignHCenter,
              true, this);
    lblVersion = makeLabel("lblVersion", QString(), {70, 52, 259, 15}, Qt::AlignHCenter, false, this);
    makeLabel("lblDescription",
              QStringLiteral("Description: This program is a tool designed to aid in theme "
                             "development for the \"Ovex Chat\" program."),
              {70, 75, 259, 30}, Qt::AlignLeft, false, this)
        ->setWordWrap(true);
    makeLabel("Label1", QStringLiteral("Copyright \u00A9 2026 Ovex Theme Editor developers"),
              {64, 120, 259, 14}, Qt::AlignHCenter, false, this);
    makeLabel("lblDisclaimer",
              QStringLiteral("Warning: Not liable for any damages resulting from usage of this "
                             "software as it is provided \"AS-IS\" and without any warranty, so "
                             "use at your own risk..."),
              {17, 175, 258, 55}, Qt::AlignLeft, false, this)
        ->setWordWrap(true);

    // Default for Enter; QDialog's Escape handling makes it the cancel too.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(283, 192, 84, 23);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    cmdOK->setFocus();

    Form_Load();
}

void frmAbout::Form_Load()
{
    lblVersion->setText(QStringLiteral("Version: %1.%2.%3")
                            .arg(version::Major)
                            .arg(version::Minor)
                            .arg(version::Revision));
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(SeparatorLeft, SeparatorTop), QPoint(SeparatorRight, SeparatorTop)),
                     QColor(128, 128, 128));
    painter.fillRect(QRect(QPoint(SeparatorLeft + 1, SeparatorTop + 1),
                           QPoint(SeparatorRight, SeparatorTop + 2)),
                     QColor(255, 255, 255));
}

} // namespace ovex
