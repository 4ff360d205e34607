#pragma once

#include "colour/Readability.h"

#include <QDialog>

class QTableWidget;

namespace ovex {

// "All checked pairs": every pair the preview checks, with its ratio and
// grade, in a table kept up to date while it is open.
class PairsDialog final : public QDialog
{
    Q_OBJECT
public:
    explicit PairsDialog(QWidget* parent);

    void SetResults(VisionType vision, const std::array<PairResult, CheckedPairCount>& results);
    QTableWidget* Table() const { return m_table; }

private:
    QTableWidget* m_table = nullptr;
};

} // namespace ovex
