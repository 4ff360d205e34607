// The window's controls at their designed positions, in pixels at 96 dpi.
#include "app/AppSetup.h"
#include "app/frmMain.h"
#include "slots/ThemeText.h"
#include "theme/History.h"
#include "theme/HistoryActions.h"
#include "theme/ThemeKeys.h"

#include "app/CaptionFrame.h"
#include <QLabel>
#include <QMenuBar>

#include <limits>

namespace ovex {

namespace {

constexpr int RowTop = 16;
constexpr int RowPitch = 16;
constexpr int RowHeight = 17;
constexpr int LabelLeft = 96;

int rowY(int slot) { return RowTop + RowPitch * slot; }

int labelWidth(int slot)
{
    switch (slot) {
    case 3: return 377;
    case 4: return 393;
    case 26: return 73;
    default: return 345;
    }
}

QString labelName(int slot)
{
    return slot == 0 ? QStringLiteral("lbl1") : QStringLiteral("Label%1").arg(slot);
}

QString indexed(const char* group, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(group)).arg(i);
}

QString caption(int slot) { return QString::fromLatin1(SlotTable[slot].caption); }

// Labels only describe; clicks aimed at a control they overlap reach it.
QLabel* makeLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(UiFont(true));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QLineEdit* makeTextBox(const QString& name, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    // The font before the text: each change of either lays the text out again.
    box->setFont(UiFont(false));
    // A value is never shortened (QLineEdit cuts at 32767 otherwise).
    box->setMaxLength(std::numeric_limits<int>::max());
    KeepThemeText(box);
    box->setText(text);
    return box;
}

QCheckBox* makeCheckBox(int slot, QWidget* parent)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(indexed("chk", slot));
    box->setAccessibleName(QStringLiteral("Include: %1").arg(caption(slot)));
    box->setFont(UiFont(false));
    return box;
}

} // namespace

void frmMain::buildSlotRows(QWidget* frme)
{
    SettingSlots& slots = m_editor.slots;
    for (int i = 0; i < ColorSlotCount; ++i) {
        QLabel* label = makeLabel(caption(i), frme);
        label->setObjectName(labelName(i));
        label->setGeometry(LabelLeft, rowY(i), labelWidth(i), RowHeight);

        slots.s[i] = new Swatch(frme);
        slots.s[i]->setObjectName(indexed("s", i));
        slots.s[i]->setGeometry(32, rowY(i), 33, RowHeight);

        slots.cmd[i] = new QPushButton(QStringLiteral(">"), frme);
        slots.cmd[i]->setObjectName(indexed("cmd", i));
        slots.cmd[i]->setAccessibleName(QStringLiteral("Pick colour: %1").arg(caption(i)));
        slots.cmd[i]->setFont(UiFont(true));
        slots.cmd[i]->setAutoDefault(false);
        slots.cmd[i]->setGeometry(72, rowY(i), 17, RowHeight);

        slots.chk[i] = makeCheckBox(i, frme);
        slots.chk[i]->setGeometry(8, rowY(i), 17, RowHeight);
    }
    // The font-size slots carry their value text in swatches never shown.
    for (int i = FirstSizeSlot; i < SlotCount; ++i) {
        slots.s[i] = new Swatch(frme);
        slots.s[i]->setObjectName(indexed("s", i));
        slots.s[i]->hide();
    }
}

void frmMain::buildThemeNameFrame(QWidget* frme)
{
    auto* frame1 = new CaptionFrame(QStringLiteral("Theme Name"), frme);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFont(UiFont(true));
    frame1->setGeometry(288, 8, 217, 41);

    m_editor.txtThemeName = makeTextBox(QStringLiteral("txtThemeName"), QString::fromLatin1(PlaceholderName), frame1);
    m_editor.txtThemeName->setAccessibleName(QStringLiteral("Theme Name"));
    m_editor.txtThemeName->setGeometry(8, 16, 201, 19);
}

void frmMain::buildFontSizeFrame(QWidget* frme)
{
    auto* frme2 = new CaptionFrame(QStringLiteral("Font Sizes"), frme);
    frme2->setObjectName(QStringLiteral("Frme2"));
    frme2->setFont(UiFont(true));
    frme2->setGeometry(352, 240, 153, 121);

    static constexpr const char* boxNames[SizeSlotCount] = {
        "txtSystem", "txtUser", "txtMenu", "txtWindowTitle", "txtSubtext"};
    for (int k = 0; k < SizeSlotCount; ++k) {
        const int slot = FirstSizeSlot + k;
        const int y = 24 + 16 * k;

        // Right-aligned and sized to its text, right edge at x 87.
        QLabel* label = makeLabel(caption(slot), frme2);
        label->setObjectName(labelName(slot));
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        const int width = label->fontMetrics().horizontalAdvance(label->text());
        label->setGeometry(88 - width, y, width, 13);

        QLineEdit* box = makeTextBox(QLatin1String(boxNames[k]), QString::fromLatin1(DefaultSize), frme2);
        box->setAccessibleName(caption(slot).chopped(1));
        box->setGeometry(88, y, 33, 19);
        m_editor.slots.sizeBox[k] = box;
    }

    // Created after the frame, so they lie above it and take their clicks.
    for (int slot = FirstSizeSlot; slot < SlotCount; ++slot) {
        QCheckBox* box = makeCheckBox(slot, frme);
        box->setGeometry(480, 264 + 16 * (slot - FirstSizeSlot), 17, RowHeight);
        m_editor.slots.chk[slot] = box;
    }
}

void frmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    const auto addItem = [](QMenu* menu, const char* name, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    const auto addSeparator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = addItem(file, "mnuNew", QStringLiteral("&New"));
    addSeparator(file, "mnuSep");
    mnuImport = addItem(file, "mnuImport", QStringLiteral("&Import"));
    mnuSave = addItem(file, "mnuSave", QStringLiteral("&Save"));
    addSeparator(file, "mnuSep2");
    QAction* exit = addItem(file, "mnuExit", QStringLiteral("E&xit"));
    connect(exit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    // The desktop's own keys, shown beside the items; a platform without one
    // (Quit on Windows) gets none.
    mnuNew->setShortcuts(QKeySequence::New);
    mnuImport->setShortcuts(QKeySequence::Open);
    mnuSave->setShortcuts(QKeySequence::Save);
    exit->setShortcuts(QKeySequence::Quit);

    // Edit: the item names the step it would undo; the keys are the same on
    // every platform (HistoryActions).
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    mnuUndo = CreateHistoryAction(m_history->Stack(), HistoryKey::Undo, edit);
    mnuUndo->setObjectName(QStringLiteral("mnuUndo"));
    mnuRedo = CreateHistoryAction(m_history->Stack(), HistoryKey::Redo, edit);
    mnuRedo->setObjectName(QStringLiteral("mnuRedo"));
    edit->addActions({mnuUndo, mnuRedo});
    edit->addSeparator();
    mnuGenerate = edit->addAction(QStringLiteral("&Generate Theme..."));
    mnuGenerate->setObjectName(QStringLiteral("mnuGenerate"));
    connect(mnuGenerate, &QAction::triggered, this, &frmMain::mnuGenerate_Click);
    addRecoverItem(edit);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    mnuPreview = addItem(view, "mnuPreview", QStringLiteral("&Preview"));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    mnuWebsite = addItem(help, "mnuWebsite", QStringLiteral("&Website"));
    mnuSupport = addItem(help, "mnuSupport", QStringLiteral("S&upport"));
    addSeparator(help, "mnuSep3");
    mnuAbout = addItem(help, "mnuAbout", QStringLiteral("&About"));
}

void frmMain::setFocusOrder()
{
    const SettingSlots& slots = m_editor.slots;
    QList<QWidget*> order;
    order << slots.cmd[0];
    for (QLineEdit* box : slots.sizeBox)
        order << box;
    order << slots.chk[0] << m_editor.txtThemeName;
    for (int i = 1; i < SlotCount; ++i)
        order << slots.chk[i];
    for (int i = 1; i < ColorSlotCount; ++i)
        order << slots.cmd[i];
    for (qsizetype k = 1; k < order.size(); ++k)
        QWidget::setTabOrder(order[k - 1], order[k]);
}

} // namespace ovex
