#pragma once

#include "platform/DesktopServices.h"
#include "recovery/RecoveryCopy.h"
#include "theme/Editor.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QUndoStack;

namespace ovex {

class History;
class RecoveryKeeper;

// The editor's one window. Its controls hold the theme; each control event
// goes to the command that handles it.
class frmMain final : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(DesktopServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    // The writer behind File, Save: checks the name, refreshes the font-size
    // slots and writes the theme file.
    void IO_CreateFile2(const QString& strFileLocationAndName, const StringArray& strArray);

    Editor& editor() { return m_editor; }
    // The Edit menu's history of every change to the theme.
    QUndoStack& undoStack();

    // Imports the theme file at path from the existence check on, as a
    // dropped file is: a missing or misnamed file is refused with a message.
    void OpenThemeFile(const QString& path);

    // Ticks each slot and sets its colour as a pick in the colour dialog does,
    // and puts name, where given, into the name box: all one step named text
    // (for example "Fix All").
    struct SlotColor
    {
        int slot;
        ColorValue color;
    };
    void SetSlotColors(const QString& text, const QList<SlotColor>& colors,
                       const std::optional<QString>& name = std::nullopt);

    // The name the last Generate Theme from a scheme put in the name box:
    // while the box still holds it, the next scheme names the theme again.
    const QString& AppliedSchemeName() const { return m_appliedSchemeName; }
    void SetAppliedSchemeName(const QString& name) { m_appliedSchemeName = name; }

    // The keeper of this window's unsaved work; null when recovery is off.
    RecoveryKeeper* recovery() const { return m_recovery.get(); }

Q_SIGNALS:
    // After the check-box handling of a slot has run.
    void chkClicked(int index);
    // Anything that makes up the theme changed: a tick, a colour or value
    // text, the name or a size box. Emitted once per change, so listeners
    // should coalesce their work (QWidget::update()).
    void themeChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Load: the window's start-up before it is first shown.
    void Form_Load();

    void buildSlotRows(QWidget* frme);
    void buildThemeNameFrame(QWidget* frme);
    void buildFontSizeFrame(QWidget* frme);
    void buildMenus();
    void setFocusOrder();
    void connectThemeChanged();

    void chk_Toggled(int index);
    void chk_Click(int index);
    void cmd_Click(int index);
    void mnuExit_Click();
    void mnuGenerate_Click();
    void mnuPreview_Click();
    void mnuGallery_Click();
    void showSlot(int slot);
    void mnuWebsite_Click();
    void mnuSupport_Click();
    void mnuAbout_Click();

    // Recovery copies and saved state (frmMainRecovery.cpp).
    void setupRecovery();
    void addRecoverItem(QMenu* edit);
    void updateRecoverItem();
    void mnuRecover_Click();
    bool recover(const QString& path);
    void tellRecoveryFailed(const QString& reason);
    void replaceWork(CopyEnding ending, const std::function<bool()>& command);
    void mnuNew_Click();
    void mnuSave_Click();
    void recordImport(const std::function<bool()>& import);

    DesktopServices m_services;
    // Generate Theme's dialogs, remembered between its openings: the base
    // colour and picture ones, and apart from those the scheme one, so that
    // neither starts on the other's file.
    OwnStateDialog m_generateDialogs{*m_services.cd};
    OwnStateDialog m_schemeDialogs{m_generateDialogs};
    Editor m_editor;
    History* m_history = nullptr;
    QString m_appliedSchemeName;
    QPointer<QWidget> m_about;
    QPointer<QWidget> m_preview;
    QPointer<QWidget> m_gallery;

    QAction* mnuNew = nullptr;
    QAction* mnuImport = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuGenerate = nullptr;
    QAction* mnuPreview = nullptr;
    QAction* mnuGallery = nullptr;
    QAction* mnuWebsite = nullptr;
    QAction* mnuSupport = nullptr;
    QAction* mnuAbout = nullptr;

    QAction* mnuRecover = nullptr;
    // Last, so that it goes first: it writes the last change while the
    // controls still exist.
    std::unique_ptr<RecoveryKeeper> m_recovery;
};

} // namespace ovex
