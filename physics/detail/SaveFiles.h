// physics/detail/SaveFiles.h: how body and zone files are written so that a failed save loses nothing.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace ravel::detail
{

/// One save of a file and the side files written with it. Everything is written to temporary files
/// beside the targets first; Commit replaces the targets only when all of them were written, so a save
/// that fails at any point leaves the old files as they were.
class SaveFiles
{
  public:
    /// A save of the file at `path` (absolute, extension added).
    explicit SaveFiles(std::string path);
    SaveFiles(const SaveFiles&) = delete;
    SaveFiles& operator=(const SaveFiles&) = delete;

    /// The temporary file the main file is written to.
    const std::string& Temp() const { return temp_; }
    /// Adds a side file to the save; returns the temporary file to write it to.
    const std::string& Side(const std::string& target);
    /// Replaces the targets: with `backup`, first copies the file being replaced to path + ".bak" (the
    /// backup is part of what was asked for: without it nothing is replaced), then moves the side
    /// files, the backup and last the main file into place. On any failure the temporaries are
    /// deleted. True when every target was replaced.
    bool Commit(bool backup);
    /// Deletes the temporaries; the targets are left alone.
    void Discard();

  private:
    std::string path_;
    std::string temp_;
    std::vector<std::pair<std::string, std::string>> sides_; // temporary file, target
};

/// A name as one line of a file. LF and NUL would end the line early and shift every field after it,
/// and CR is dropped by the reader anyway, so the three are left out.
std::string NameLine(const std::string& name);

} // namespace ravel::detail
