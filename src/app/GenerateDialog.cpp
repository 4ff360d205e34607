#include "app/GenerateDialog.h"

#include "colour/ThemePicture.h"
#include "preview/ReadPreviewTheme.h"
#include "app/frmMain.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "colour/ImagePalette.h"
#include "preview/ReadableText.h"
#include "schemes/SchemeFile.h"
#include "theme/ThemeKeys.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace ovex {

namespace {

const QString Title = QStringLiteral("Generate Theme");
// A calm blue for a theme whose form colour is not set yet.
const QColor DefaultBase(52, 101, 164);
constexpr int PreviewWidth = 224;

// The mock chat window in the proposal's colours, with the window's name
// and font sizes, shrunk to a list icon.
QPixmap proposalPicture(const PreviewTheme& current, const SlotColors& colors)
{
    PreviewTheme theme = current;
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        theme.colors[slot] = colors[slot];
        theme.inTheme[slot] = true;
    }
    return QPixmap::fromImage(DrawThemePicture(theme).scaledToWidth(PreviewWidth, Qt::SmoothTransformation));
}

QIcon colourIcon(const QColor& color)
{
    QPixmap patch(16, 16);
    patch.fill(color);
    return QIcon(patch);
}

// Whether Apply from a scheme names the theme: while the name box holds the
// placeholder or the name the last such Apply put there (lastApplied).
bool NameFollowsScheme(const QString& nameBox, const QString& lastApplied)
{
    return nameBox == QLatin1String(PlaceholderName) || (!lastApplied.isEmpty() && nameBox == lastApplied);
}

} // namespace

QString PictureFilter()
{
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QStringList patterns;
    for (const char* format : {"png", "jpg", "jpeg", "bmp", "webp"})
        if (readable.contains(format))
            patterns << QStringLiteral("*.%1").arg(QLatin1String(format));
    return QStringLiteral("Pictures (%1)").arg(patterns.join(u' '));
}

QString VisionNote(const QList<ThemeProposal>& proposals)
{
    QStringList names;
    for (const ThemeProposal& p : proposals)
        if (p.passesEveryVision)
            names << p.name;
    if (names.isEmpty())
        return QStringLiteral("No proposal reads well under every simulated colour-vision deficiency.");
    if (names.size() == proposals.size())
        return QStringLiteral("Every proposal also reads well under the simulated colour-vision deficiencies.");
    const QString last = names.takeLast();
    const QString list = names.isEmpty() ? last : QStringLiteral("%1 and %2").arg(names.join(QStringLiteral(", ")), last);
    return QStringLiteral("%1 also read%2 well under the simulated colour-vision deficiencies.")
        .arg(list, names.isEmpty() ? QStringLiteral("s") : QString());
}

GenerateDialog::GenerateDialog(frmMain& main, GenerateDialogs dialogs, MessageBoxService& messages)
    : QDialog(&main), m_main(&main), m_cd(dialogs), m_messages(messages)
{
    setWindowTitle(Title);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);

    const SettingSlots& slots = main.editor().slots;
    const bool formSet = slots.IsSaved(0);
    m_base = formSet ? PackedToQColor(slots.s[0]->BackColor()) : DefaultBase;
    m_seed = SeedFromColour(m_base);

    cmdBase = new QPushButton(QStringLiteral("Base colour"), this);
    cmdBase->setAccessibleName(QStringLiteral("Base colour"));
    optLight = new QRadioButton(QStringLiteral("&Light"), this);
    optLight->setAccessibleName(QStringLiteral("Light"));
    optDark = new QRadioButton(QStringLiteral("&Dark"), this);
    optDark->setAccessibleName(QStringLiteral("Dark"));
    (formSet && ModeFor(m_base) == ThemeMode::Dark ? optDark : optLight)->setChecked(true);
    auto* modes = new QButtonGroup(this);
    modes->addButton(optLight);
    modes->addButton(optDark);
    cmdImage = new QPushButton(QStringLiteral("From &Image..."), this);
    cmdImage->setAccessibleName(QStringLiteral("From Image"));
    cmdScheme = new QPushButton(QStringLiteral("From &Scheme..."), this);
    cmdScheme->setAccessibleName(QStringLiteral("From Scheme"));

    lstProposals = new QListWidget(this);
    lstProposals->setAccessibleName(QStringLiteral("Proposals"));
    lstProposals->setViewMode(QListView::IconMode);
    lstProposals->setFlow(QListView::LeftToRight);
    lstProposals->setWrapping(false);
    lstProposals->setMovement(QListView::Static);
    lstProposals->setSelectionMode(QAbstractItemView::SingleSelection);
    const QSize icon(PreviewWidth, PreviewWidth * MockSize.height() / MockSize.width());
    lstProposals->setIconSize(icon);
    lstProposals->setSpacing(6);
    lstProposals->setMinimumWidth(4 * (icon.width() + 24));
    lstProposals->setFixedHeight(icon.height() + 48);

    // Tab stops whose text a screen reader reads whole.
    lblAdjusted = new ReadableText(QStringLiteral("lblAdjusted"), this);
    lblAdjusted->setAccessibleDescription(QStringLiteral("Readability note"));
    lblAdjusted->hide();
    lblVision = new ReadableText(QStringLiteral("lblVision"), this);
    lblVision->setAccessibleDescription(QStringLiteral("Colour-vision note"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cmdApply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setAccessibleName(QStringLiteral("Apply"));
    cmdApply->setDefault(true);
    QPushButton* cmdCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAccessibleName(QStringLiteral("Cancel"));

    cmdBase->setObjectName(QStringLiteral("cmdBase"));
    optLight->setObjectName(QStringLiteral("optLight"));
    optDark->setObjectName(QStringLiteral("optDark"));
    cmdImage->setObjectName(QStringLiteral("cmdImage"));
    cmdScheme->setObjectName(QStringLiteral("cmdScheme"));
    lstProposals->setObjectName(QStringLiteral("lstProposals"));

    auto* sources = new QHBoxLayout;
    sources->addWidget(cmdBase);
    sources->addSpacing(12);
    sources->addWidget(optLight);
    sources->addWidget(optDark);
    sources->addStretch();
    sources->addWidget(cmdImage);
    sources->addWidget(cmdScheme);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sources);
    layout->addWidget(lstProposals);
    layout->addWidget(lblAdjusted);
    layout->addWidget(lblVision);
    layout->addWidget(buttons);

    connect(cmdBase, &QPushButton::clicked, this, &GenerateDialog::cmdBase_Click);
    connect(cmdImage, &QPushButton::clicked, this, &GenerateDialog::cmdImage_Click);
    connect(cmdScheme, &QPushButton::clicked, this, &GenerateDialog::cmdScheme_Click);
    connect(optLight, &QRadioButton::toggled, this, &GenerateDialog::propose);
    connect(buttons, &QDialogButtonBox::accepted, this, &GenerateDialog::apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    showBase();
    propose();
    lstProposals->setFocus();
}

int GenerateDialog::ChosenProposal() const
{
    return lstProposals->currentRow();
}

void GenerateDialog::showBase()
{
    cmdBase->setIcon(colourIcon(m_base));
    cmdBase->setAccessibleDescription(m_base.name());
}

void GenerateDialog::propose()
{
    const ThemeMode mode = optDark->isChecked() ? ThemeMode::Dark : ThemeMode::Light;
    m_proposals = ProposeThemes(m_seed, mode);
    if (m_scheme) {
        m_proposals = m_proposals.first(std::min<qsizetype>(m_proposals.size(), ProposalsAfterScheme));
        m_proposals.prepend(SchemeProposal(*m_scheme));
    }
    PreviewTheme current = m_main ? ReadPreviewTheme(m_main->editor()) : DefaultPreviewTheme();
    // The pictures' title bars show the name Apply would set.
    if (m_scheme && (!m_main || NameFollowsScheme(m_main->editor().txtThemeName->text(), m_main->AppliedSchemeName())))
        current.name = PreviewText(m_scheme->name);
    lstProposals->clear();
    for (const ThemeProposal& p : m_proposals) {
        // The chosen one shows in its caption; the picture stays untinted.
        QIcon picture(proposalPicture(current, p.colors));
        picture.addPixmap(picture.pixmap(lstProposals->iconSize()), QIcon::Selected);
        auto* item = new QListWidgetItem(picture, p.name, lstProposals);
        const QString vision = p.passesEveryVision ? QStringLiteral("also reads well with colour-vision deficiencies")
                                                   : QStringLiteral("reads well with normal vision");
        item->setData(Qt::AccessibleTextRole, QStringLiteral("%1, %2").arg(p.name, vision));
        item->setToolTip(QStringLiteral("%1: %2").arg(p.name, vision));
    }
    lstProposals->setCurrentRow(m_proposals.isEmpty() ? -1 : 0);
    lblVision->setText(VisionNote(m_proposals));
    lblAdjusted->setText(m_scheme ? AdjustmentNote(*m_scheme) : QString());
    lblAdjusted->setVisible(m_scheme.has_value());
    fitHeight();
}

void GenerateDialog::fitHeight()
{
    // A window's minimum size leaves out what word-wrapped notes need at its
    // width, so an open dialog would squeeze a longer note over the list.
    if (!isVisible())
        return;
    layout()->activate();
    resize(width(), std::max(minimumHeight(), layout()->totalHeightForWidth(width())));
}

void GenerateDialog::cmdBase_Click()
{
    CommonDialog& cd = m_cd.colourAndPicture;
    cd.Color = QColorToPacked(m_base);
    if (cd.ShowColor() != DialogResult::Chosen)
        return;
    m_base = PackedToQColor(cd.Color);
    m_seed = SeedFromColour(m_base);
    m_scheme.reset();
    showBase();
    propose();
}

void GenerateDialog::cmdImage_Click()
{
    CommonDialog& cd = m_cd.colourAndPicture;
    cd.Filter = PictureFilter();
    if (cd.ShowOpen() != DialogResult::Chosen)
        return;
    QImageReader reader(cd.FileName);
    reader.setAutoTransform(true);
    const std::optional<GeneratorSeed> seed = SeedFromPicture(reader.read());
    if (!seed) {
        m_messages.Show(QStringLiteral("Sorry! The picture could not be read."), Title, MessageStyle::Information);
        return;
    }
    m_seed = *seed;
    m_base = ToColor(m_seed.accent);
    m_scheme.reset();
    showBase();
    propose();
}

void GenerateDialog::cmdScheme_Click()
{
    CommonDialog& cd = m_cd.scheme;
    cd.Filter = QString::fromLatin1(SchemeFilter);
    if (cd.ShowOpen() != DialogResult::Chosen)
        return;
    const SchemeReading reading = ReadSchemeFile(cd.FileName);
    if (!reading.scheme) {
        m_messages.Show(QStringLiteral("Sorry! The scheme could not be read: %1.").arg(reading.error), Title,
                        MessageStyle::Information);
        return;
    }
    m_scheme = MapScheme(*reading.scheme);
    m_seed = m_scheme->seed;
    m_base = ToColor(m_seed.accent);
    {
        // The scheme's mode, without proposing for it before the scheme is set.
        const QSignalBlocker blocker(optLight);
        (m_scheme->mode == ThemeMode::Dark ? optDark : optLight)->setChecked(true);
    }
    showBase();
    propose();
}

void GenerateDialog::apply()
{
    const int chosen = ChosenProposal();
    if (m_main && chosen >= 0) {
        QList<frmMain::SlotColor> colors;
        for (int slot = 0; slot < ColorSlotCount; ++slot)
            colors.append({slot, QColorToPacked(m_proposals[chosen].colors[slot])});
        // A scheme names the theme, unless the user already has.
        std::optional<QString> name;
        if (m_scheme && NameFollowsScheme(m_main->editor().txtThemeName->text(), m_main->AppliedSchemeName()))
            name = m_scheme->name;
        m_main->SetSlotColors(Title, colors, name);
        if (name)
            m_main->SetAppliedSchemeName(*name);
    }
    accept();
}

} // namespace ovex
