#pragma once

#include "colour/ThemeGenerator.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ovex {

class CommonDialog;
class MessageBoxService;
class frmMain;

// "Generate Theme": whole themes proposed from a base colour or a picture,
// shown as small previews; Apply sets the chosen one's 27 colours in the
// main window as one undo step. It works on its own proposals, so Cancel
// leaves the window as it was. Window-modal and deleted when closed.
class GenerateDialog final : public QDialog
{
    Q_OBJECT
public:
    // cd: the dialogs for the base colour and the picture, whose properties
    // the window keeps for Generate alone (an OwnStateDialog).
    GenerateDialog(frmMain& main, CommonDialog& cd, MessageBoxService& messages);

    const QList<ThemeProposal>& Proposals() const { return m_proposals; }
    // The proposal Apply would set, or -1.
    int ChosenProposal() const;

private:
    void cmdBase_Click();
    void cmdImage_Click();
    void apply();
    // New proposals for the seed and the mode, the first one chosen.
    void propose();
    void showBase();

    QPointer<frmMain> m_main;
    CommonDialog& m_cd;
    MessageBoxService& m_messages;
    GeneratorSeed m_seed;
    QColor m_base;
    QList<ThemeProposal> m_proposals;

    QPushButton* cmdBase = nullptr;
    QRadioButton* optLight = nullptr;
    QRadioButton* optDark = nullptr;
    QPushButton* cmdImage = nullptr;
    QListWidget* lstProposals = nullptr;
    QLabel* lblVision = nullptr;
};

// The open dialog's filter: the picture kinds this Qt can read, of PNG,
// JPEG, BMP and WebP.
QString PictureFilter();

// "Neutral and Tinted also read well ...": which proposals pass for every
// simulated vision.
QString VisionNote(const QList<ThemeProposal>& proposals);

} // namespace ovex
