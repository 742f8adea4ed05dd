// platform/FileSystem.cpp: file-system helpers over std::filesystem and stdio.
#include "platform/FileSystem.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace ravel
{

namespace fs = std::filesystem;

std::string NormalisePath(const std::string& path)
{
    std::string out = path;
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string CurrentDir()
{
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (ec)
        return "/";
    std::string dir = NormalisePath(cwd.string());
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

std::string ProgramDir()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path())
        return {};
    std::string dir = NormalisePath(exe.parent_path().string());
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string RealPath(const std::string& path)
{
    std::string p = NormalisePath(path);
    if (p.empty() || p[0] != '/')
        p = CurrentDir() + "/" + p;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= p.size())
    {
        std::size_t slash = p.find('/', start);
        if (slash == std::string::npos)
            slash = p.size();
        std::string seg = p.substr(start, slash - start);
        if (seg == "..")
        {
            if (!parts.empty())
                parts.pop_back();
        }
        else if (!seg.empty() && seg != ".")
            parts.push_back(seg);
        start = slash + 1;
    }
    std::string out;
    for (const std::string& seg : parts)
        out += "/" + seg;
    return out.empty() ? "/" : out;
}

int FileType(const std::string& path)
{
    std::error_code ec;
    fs::file_status st = fs::status(NormalisePath(path), ec);
    if (ec)
        return FILETYPE_NONE;
    if (fs::is_regular_file(st))
        return FILETYPE_FILE;
    if (fs::is_directory(st))
        return FILETYPE_DIR;
    return FILETYPE_NONE;
}

std::string StripExt(const std::string& path)
{
    std::string p = NormalisePath(path);
    std::size_t dot = p.rfind('.');
    if (dot == std::string::npos)
        return p;
    std::size_t slash = p.rfind('/');
    if (slash != std::string::npos && slash > dot)
        return p;
    return p.substr(0, dot);
}

std::string ExtractExt(const std::string& path)
{
    std::string p = NormalisePath(path);
    std::string stem = StripExt(p);
    return stem.size() < p.size() ? p.substr(stem.size() + 1) : std::string();
}

int CopyFile(const std::string& src, const std::string& dst)
{
    std::FILE* in = std::fopen(NormalisePath(src).c_str(), "rb");
    if (!in)
        return 0;
    // The copy goes to a temporary file beside the destination and replaces it only when complete, so
    // a copy that fails part-way (a full disk, say) leaves the destination as it was.
    const std::string temp = NormalisePath(dst) + ".tmp" + std::to_string(static_cast<long>(getpid()));
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out)
    {
        std::fclose(in);
        return 0;
    }
    bool ok = true;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0)
        if (std::fwrite(buf, 1, n, out) != n)
        {
            ok = false;
            break;
        }
    if (std::ferror(in))
        ok = false;
    std::fclose(in);
    if (std::fclose(out) != 0)
        ok = false;
    if (ok)
        ok = std::rename(temp.c_str(), NormalisePath(dst).c_str()) == 0;
    if (!ok)
        std::remove(temp.c_str());
    return ok ? 1 : 0;
}

int DeleteFile(const std::string& path)
{
    std::string p = NormalisePath(path);
    if (FileType(p) == FILETYPE_FILE)
        std::remove(p.c_str());
    return FileType(p) == FILETYPE_FILE ? 0 : 1;
}

int CreateFile(const std::string& path)
{
    std::string p = NormalisePath(path);
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (f)
        std::fclose(f);
    return FileType(p) == FILETYPE_FILE ? 1 : 0;
}

int RenameFile(const std::string& from, const std::string& to)
{
    return std::rename(NormalisePath(from).c_str(), NormalisePath(to).c_str()) == 0 ? 1 : 0;
}

} // namespace ravel
