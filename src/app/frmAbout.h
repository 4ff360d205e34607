#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ovex {

// The About box: title, version, description, rights notice and disclaimer.
// A free-standing, non-modal tool window that deletes itself when closed, so
// each opening loads it afresh.
class frmAbout final : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // The etched separator between the notice and the disclaimer: a grey
    // stroke over a white one, in client pixels.
    static constexpr int SeparatorLeft = 6;
    static constexpr int SeparatorRight = 377;
    static constexpr int SeparatorTop = 163;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Load: fills in the version line from the build's version numbers.
    void Form_Load();
    void cmdOK_Click();

    QLabel* lblVersion = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace ovex
