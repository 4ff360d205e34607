#pragma once

#include "fileio/MRW_File_IO.h"
#include "fileio/MRW_Memory.h"

namespace ovex {

// More lines than this and a file counts as holding none.
inline constexpr int MaxImportLines = 10000;

// The number of non-empty lines before the first empty line or the end of the
// text, 0..MaxImportLines; 0 when even MaxImportLines + 1 reads find no end.
int Import_CountLines(const LoadedFile& file);
// The same for a file on disk; a file that cannot be read counts 0.
int Import_CountLines(const FileSystemObject& fs, const QString& path);

// Counts, sizes the array once, then reads the counted lines in a second pass.
// Returns false (subscript out of range) when the count is 0: the array keeps
// its earlier size and contents.
bool Import_ReadLines(const LoadedFile& file, StringArray& array);
bool Import_ReadLines(const FileSystemObject& fs, const QString& path, StringArray& array);

} // namespace ovex
