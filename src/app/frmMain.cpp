#include "app/frmMain.h"

#include "app/AppIcon.h"
#include "app/AppSetup.h"
#include "app/CaptionFrame.h"
#include "app/ColorTransfer.h"
#include "app/FileDrop.h"
#include "recovery/RecoveryKeeper.h"
#include "app/WebLinks.h"
#include "app/frmAbout.h"

#include "slots/SlotEditing.h"
#include "theme/History.h"
#include "theme/ImportTheme.h"
#include "theme/NewTheme.h"
#include "theme/SaveTheme.h"
#include "theme/ThemeKeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>

namespace ovex {

frmMain::frmMain(DesktopServices services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_services(std::move(services))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Ovex Theme Editor"));
    setWindowIcon(AppIcon());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(529, 462);
    setCentralWidget(client);

    auto* frme = new CaptionFrame(QString(), client);
    frme->setObjectName(QStringLiteral("Frme"));
    frme->setGeometry(8, 0, 513, 457);

    // Creation order is stacking order: rows, then the frames beside them,
    // then the font-size check boxes that sit inside the "Font Sizes" frame.
    buildSlotRows(frme);
    buildThemeNameFrame(frme);
    buildFontSizeFrame(frme);
    m_history = new History(m_editor, this);
    buildMenus();
    setFocusOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_editor.cd = m_services.cd.get();
    m_editor.messages = m_services.messages.get();
    // toggled, not clicked: the handling runs whenever the state changes,
    // by the user or by a command, and never when it stays the same.
    for (int i = 0; i < SlotCount; ++i)
        connect(m_editor.slots.chk[i], &QCheckBox::toggled, this, [this, i] { chk_Toggled(i); });
    for (int i = 0; i < ColorSlotCount; ++i)
        connect(m_editor.slots.cmd[i], &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
    connect(mnuNew, &QAction::triggered, this, &frmMain::mnuNew_Click);
    connect(mnuImport, &QAction::triggered, this, [this] { recordImport([this] { return ImportTheme(m_editor); }); });
    connect(mnuSave, &QAction::triggered, this, &frmMain::mnuSave_Click);
    connect(mnuPreview, &QAction::triggered, this, &frmMain::mnuPreview_Click);
    connect(mnuWebsite, &QAction::triggered, this, &frmMain::mnuWebsite_Click);
    connect(mnuSupport, &QAction::triggered, this, &frmMain::mnuSupport_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);
    connectThemeChanged();
    // A dropped theme file is imported as if chosen in the open dialog.
    new FileDropFilter(this, [this](const QString& path) { OpenThemeFile(path); });
    new ColorTransfer(this);
    setupRecovery();

    Form_Load();
    m_editor.slots.cmd[0]->setFocus();
}

frmMain::~frmMain()
{
    // The About box, the preview and the gallery have no parent window; open
    // ones go with us.
    delete m_about.data();
    delete m_preview.data();
    delete m_gallery.data();
}

void frmMain::Form_Load()
{
    FillSaveKeys(m_editor.SaveKeys);
    FillImportKeys(m_editor.ImportKeys);
    m_editor.FileSystem = IO_CreateFileSystem();
}

void frmMain::connectThemeChanged()
{
    const SettingSlots& slots = m_editor.slots;
    for (QCheckBox* box : slots.chk)
        connect(box, &QCheckBox::toggled, this, &frmMain::themeChanged);
    for (Swatch* swatch : slots.s)
        connect(swatch, &Swatch::changed, this, &frmMain::themeChanged);
    for (QLineEdit* box : slots.sizeBox)
        connect(box, &QLineEdit::textChanged, this, &frmMain::themeChanged);
    connect(m_editor.txtThemeName, &QLineEdit::textChanged, this, &frmMain::themeChanged);
}

QUndoStack& frmMain::undoStack()
{
    return m_history->Stack();
}

void frmMain::chk_Toggled(int index)
{
    // A step being undone or redone puts back the value text and colour too.
    if (m_history->Restoring())
        return;
    // New and Import record their ticks as part of their own step.
    if (m_history->Recording())
        return chk_Click(index);
    ThemeState before = CaptureTheme(m_editor);
    before.slots[index].ticked = !before.slots[index].ticked;   // as it was before the click
    chk_Click(index);
    const QString what = m_editor.slots.Value(index) == 1 ? QStringLiteral("Tick") : QStringLiteral("Untick");
    m_history->RecordDone(QStringLiteral("%1: %2").arg(what, SlotCaption(index)), before);
}

void frmMain::chk_Click(int index)
{
    ovex::chk_Click(m_editor.slots, index);
    Q_EMIT chkClicked(index);
}

void frmMain::cmd_Click(int index)
{
    m_history->Record(QStringLiteral("Colour: %1").arg(SlotCaption(index)),
                      [this, index] { ovex::cmd_Click(m_editor.slots, *m_editor.cd, index); });
}

void frmMain::OpenThemeFile(const QString& path)
{
    recordImport([this, &path] { return ImportThemeFile(m_editor, path); });
}

void frmMain::SetSlotColors(const QString& text, const QList<SlotColor>& colors, const std::optional<QString>& name)
{
    m_history->Record(text, [this, &colors, &name] {
        for (const SlotColor& c : colors) {
            m_editor.slots.SetValue(c.slot, 1);
            SetPickedColor(m_editor.slots, c.slot, c.color);
        }
        if (name)
            m_editor.txtThemeName->setText(*name);
    });
}

void frmMain::IO_CreateFile2(const QString& strFileLocationAndName, const StringArray& strArray)
{
    ovex::IO_CreateFile2(m_editor, strFileLocationAndName, strArray);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Free-standing windows would otherwise keep the program running.
    if (m_about)
        m_about->close();
    if (m_preview)
        m_preview->close();
    if (m_gallery)
        m_gallery->close();
    event->accept();
}

void frmMain::mnuExit_Click()
{
    QCoreApplication::exit(0);
}

void frmMain::mnuWebsite_Click()
{
    m_services.web->Open(WebsiteAddress());
}

void frmMain::mnuSupport_Click()
{
    m_services.web->Open(SupportAddress());
}

void frmMain::mnuAbout_Click()
{
    // One box at most: an open one is brought forward. A closed one is
    // already deleting itself, so the next opening loads a new box.
    if (!m_about || !m_about->isVisible())
        m_about = new frmAbout;   // free-standing: no parent window, deletes itself on close
    BringToFront(*m_about);
}

} // namespace ovex
