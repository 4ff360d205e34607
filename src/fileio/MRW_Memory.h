#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace ovex {

// A one-dimensional string array with indices from 0. Unlike a QStringList it
// has a "never dimensioned" state with no bounds at all, which New relies on.
class StringArray
{
public:
    bool IsDimensioned() const { return m_items.has_value(); }
    // Upper bound; only meaningful once dimensioned.
    qsizetype UBound() const { return m_items ? m_items->size() - 1 : -1; }

    QString& operator[](qsizetype i) { return (*m_items)[i]; }
    const QString& operator[](qsizetype i) const { return m_items->at(i); }

    const QList<QString>& Items() const;
    void Redim(qsizetype upperBound);

private:
    std::optional<QList<QString>> m_items;
};

// Sizes the array to indices 0..n, every entry empty; earlier contents are
// discarded. Returns false (subscript out of range) for n below 0, leaving the
// array as it was.
bool Mem_Resize(StringArray& array, int n);

// Upper bound plus one; nothing for an array that was never dimensioned or
// whose count does not fit the 16-bit counters the program uses.
std::optional<int> Mem_Count(const StringArray& array);

} // namespace ovex
