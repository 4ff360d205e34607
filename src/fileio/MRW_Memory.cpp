#include "fileio/MRW_Memory.h"

#include <limits>

namespace ovex {

const QList<QString>& StringArray::Items() const
{
    static const QList<QString> none;
    return m_items ? *m_items : none;
}

void StringArray::Redim(qsizetype upperBound)
{
    m_items.emplace(upperBound + 1);
}

bool Mem_Resize(StringArray& array, int n)
{
    if (n < 0)
        return false;
    array.Redim(n);
    return true;
}

std::optional<int> Mem_Count(const StringArray& array)
{
    if (!array.IsDimensioned())
        return std::nullopt;
    const qsizetype count = array.UBound() + 1;
    if (count > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<int>(count);
}

} // namespace ovex
