#include "fileio/MRW_Import.h"

namespace ovex {

int Import_CountLines(const LoadedFile& file)
{
    int count = 0;
    auto stream = file.OpenTextStream();
    for (int i = 0; i <= MaxImportLines; ++i) {
        if (IO_ReadNextLine(stream.get()).isEmpty()) {
            count = i;
            break;
        }
    }
    stream->Close();
    return count;
}

int Import_CountLines(const FileSystemObject& fs, const QString& path)
{
    const auto file = fs.Load(path);
    return file ? Import_CountLines(*file) : 0;
}

bool Import_ReadLines(const LoadedFile& file, StringArray& array)
{
    const int n = Import_CountLines(file) - 1;
    auto stream = file.OpenTextStream();
    if (!Mem_Resize(array, n))
        return false;
    for (int i = 0; i <= n; ++i)
        array[i] = IO_ReadNextLine(stream.get());
    stream->Close();
    return true;
}

bool Import_ReadLines(const FileSystemObject& fs, const QString& path, StringArray& array)
{
    const auto file = fs.Load(path);
    return file ? Import_ReadLines(*file, array) : false;
}

} // namespace ovex
