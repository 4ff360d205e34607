#include "preview/PreviewWindow.h"

#include "preview/ReadabilityPanel.h"
#include "preview/ReadableText.h"
#include "preview/ReadPreviewTheme.h"
#include "preview/ThemePreview.h"
#include "theme/Editor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace ovex {

PreviewWindow::PreviewWindow(const Editor& editor, const QIcon& icon) : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Theme Preview"));
    setWindowIcon(icon);
    setAttribute(Qt::WA_DeleteOnClose);
    // The user points at the picture while working in the main window.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    auto* simulateLabel = new QLabel(QStringLiteral("Simulate:"), this);
    m_simulate = new QComboBox(this);
    m_simulate->setObjectName(QStringLiteral("cboSimulate"));
    m_simulate->setAccessibleName(QStringLiteral("Simulate colour vision"));
    for (const VisionType vision : VisionTypes)
        m_simulate->addItem(VisionTypeName(vision), int(vision));
    simulateLabel->setBuddy(m_simulate);
    auto* simulateRow = new QHBoxLayout;
    simulateRow->addWidget(simulateLabel);
    simulateRow->addWidget(m_simulate);
    simulateRow->addStretch();

    m_preview = new ThemePreview([&editor] { return ReadPreviewTheme(editor); }, this);
    m_panel = new ReadabilityPanel(this);
    m_defaults = new ReadableText(QStringLiteral("lblDefaults"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_panel, m_defaults})
        w->setFixedWidth(m_preview->width());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addLayout(simulateRow);
    layout->addWidget(m_preview);
    layout->addWidget(m_panel);
    layout->addWidget(m_defaults);
    layout->addStretch();
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_simulate, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_preview->SetVision(VisionTypes[std::size_t(index)]); });
    connect(m_preview, &ThemePreview::Refreshed, this, &PreviewWindow::showResults);
    connect(m_preview, &ThemePreview::SlotChosen, this, &PreviewWindow::SlotChosen);
    connect(m_panel, &ReadabilityPanel::ColorsChosen, this, &PreviewWindow::ColorsChosen);
}

void PreviewWindow::Invalidate()
{
    m_preview->Invalidate();
}

void PreviewWindow::showResults()
{
    const PreviewTheme& theme = m_preview->Theme();
    m_panel->SetResults(theme.colors, m_preview->Vision(), m_preview->Results());
    m_defaults->setText(DefaultsNote(theme));
}

} // namespace ovex
