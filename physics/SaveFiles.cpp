// physics/SaveFiles.cpp: saves that replace their files only once everything was written.
#include "physics/detail/SaveFiles.h"

#include "platform/FileSystem.h"

#include <unistd.h>

namespace ravel::detail
{

namespace
{

// A name for a temporary file beside the target, unique to this process.
std::string TempPath(const std::string& path)
{
    return path + ".tmp" + std::to_string(static_cast<long>(getpid()));
}

} // namespace

SaveFiles::SaveFiles(std::string path) : path_(std::move(path)), temp_(TempPath(path_))
{
}

const std::string& SaveFiles::Side(const std::string& target)
{
    sides_.emplace_back(TempPath(target), target);
    return sides_.back().first;
}

bool SaveFiles::Commit(bool backup)
{
    // The backup is copied beside its name too, so that an earlier backup stays when the save fails
    // after this point.
    if (backup && FileType(path_) == FILETYPE_FILE)
    {
        const std::string& copy = Side(path_ + ".bak");
        if (CopyFile(path_, copy) == 0)
        {
            Discard();
            return false;
        }
    }
    for (const auto& side : sides_)
        if (RenameFile(side.first, side.second) == 0)
        {
            Discard();
            return false;
        }
    if (RenameFile(temp_, path_) == 0)
    {
        Discard();
        return false;
    }
    return true;
}

void SaveFiles::Discard()
{
    DeleteFile(temp_);
    for (const auto& side : sides_)
        DeleteFile(side.first);
}

std::string NameLine(const std::string& name)
{
    std::string line;
    line.reserve(name.size());
    for (char c : name)
        if (c != '\n' && c != '\r' && c != '\0')
            line.push_back(c);
    return line;
}

} // namespace ravel::detail
