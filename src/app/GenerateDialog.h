#pragma once

#include "colour/ThemeGenerator.h"
#include "schemes/SchemeTheme.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class QListWidget;
class QPushButton;
class QRadioButton;

namespace ovex {

class CommonDialog;
class MessageBoxService;
class ReadableText;
class frmMain;

// The dialogs Generate shows, whose properties the window keeps for
// Generate alone (OwnStateDialogs): one for the base colour and the picture,
// one for the scheme, so that each open dialog starts on its own last file.
struct GenerateDialogs
{
    CommonDialog& colourAndPicture;
    CommonDialog& scheme;
};

// "Generate Theme": whole themes proposed from a base colour, a picture or
// a colour scheme, shown as small previews; Apply sets the chosen one's 27
// colours in the main window (and a scheme's name) as one undo step. It
// works on its own proposals, so Cancel leaves the window as it was.
// Window-modal and deleted when closed.
class GenerateDialog final : public QDialog
{
    Q_OBJECT
public:
    GenerateDialog(frmMain& main, GenerateDialogs dialogs, MessageBoxService& messages);

    const QList<ThemeProposal>& Proposals() const { return m_proposals; }
    // The proposal Apply would set, or -1.
    int ChosenProposal() const;

private:
    void cmdBase_Click();
    void cmdImage_Click();
    void cmdScheme_Click();
    void apply();
    // New proposals for the seed and the mode, the first one chosen; from a
    // scheme, the scheme's own first.
    void propose();
    void showBase();
    // The open dialog's height to what its notes need.
    void fitHeight();

    QPointer<frmMain> m_main;
    GenerateDialogs m_cd;
    MessageBoxService& m_messages;
    GeneratorSeed m_seed;
    QColor m_base;
    // The scheme the proposals come from, until another source is chosen.
    std::optional<SchemeTheme> m_scheme;
    QList<ThemeProposal> m_proposals;

    QPushButton* cmdBase = nullptr;
    QRadioButton* optLight = nullptr;
    QRadioButton* optDark = nullptr;
    QPushButton* cmdImage = nullptr;
    QPushButton* cmdScheme = nullptr;
    QListWidget* lstProposals = nullptr;
    ReadableText* lblAdjusted = nullptr;
    ReadableText* lblVision = nullptr;
};

// The open dialog's filter: the picture kinds this Qt can read, of PNG,
// JPEG, BMP and WebP.
QString PictureFilter();

// The open dialog's filter for colour schemes.
inline constexpr const char* SchemeFilter = "Colour schemes (*.yaml *.yml *.colors)";

// At most this many of the generator's proposals follow a scheme's own.
inline constexpr int ProposalsAfterScheme = 3;

// "Neutral and Tinted also read well ...": which proposals pass for every
// simulated vision.
QString VisionNote(const QList<ThemeProposal>& proposals);

} // namespace ovex
