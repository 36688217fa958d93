#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "model/byte_source.h"

namespace qlx {

// Result of a file operation; `error` is a UTF-8 text for the user that names
// the file and the reason given by the system.
struct IoResult {
    bool ok = true;
    std::string error;
    explicit operator bool() const { return ok; }
};

// What the program was doing with a path when the system refused it; each
// has its own first line in the message.
enum class IoAction { Read, Write, CreateFolder, Rename };

// The file layer's message: the action's text, the path and the system's
// reason for `err` (an errno value), one per line.
IoResult IoFailure(IoAction action, const std::string& path, int err);

// The file layer's message for a file that cannot be read (err: errno).
IoResult ReadFailure(const std::string& path, int err);

// A regular file read in pieces, at most `budget` bytes in all. Anything
// else (a folder, a device, a pipe) is refused unopened with the file-layer
// message, as is a file that cannot be opened or read; check result() after
// reading. The piece buffer is allocated here: construction may throw
// std::bad_alloc, which the readers turn into a failure.
class FileSource final : public ByteSource {
public:
    FileSource(const std::string& path, std::size_t budget);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    const IoResult& result() const { return result_; }
    // The budget ended the reading while the file held more.
    bool cutShort() const { return cutShort_; }

private:
    bool Refill() override;
    void Close();

    std::string path_;
    int fd_ = -1;
    std::size_t left_;
    std::size_t pieceSize_;
    std::unique_ptr<char[]> piece_;
    IoResult result_;
    bool cutShort_ = false;
};

// Writes `bytes` to path through a temporary file in the same folder that
// replaces the target only when complete, so a full disk or a broken write
// never leaves a half-written file where the old one was.
IoResult WriteFileBytes(const std::string& path, const std::string& bytes);

// A path with a NUL byte names nothing (the system would read it cut short).
bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
// Any entry at path: a file, a folder, a device or a link (also one whose
// target is gone), so that a name chosen as free really is.
bool EntryExists(const std::string& path);

// Creates one folder; its parent must exist.
IoResult MakeFolder(const std::string& path);
// Gives a file a new name in the same file system; never replaces an entry
// that already has the new name (that fails, leaving both as they were).
IoResult RenameFile(const std::string& from, const std::string& to);
// Removes a file, or a folder with everything in it; true when nothing of it
// is left. Links are removed, never followed.
bool RemoveTree(const std::string& path);

// Folder of a path including its trailing separator ("" when there is none);
// both "/" and "\" count as separators.
std::string FolderOf(const std::string& path);
// File name without its folder (both separators count).
std::string FileNameOf(const std::string& path);
// File name without folder and without its last extension.
std::string DisplayName(const std::string& path);
// Extension of the file name including the dot ("" when there is none).
std::string ExtensionOf(const std::string& path);

}  // namespace qlx
