#pragma once

#include <cstddef>
#include <string>

#include <wx/datetime.h>
#include <wx/string.h>

// Rig files on disk: read whole, written so that a failed save never leaves a half-written
// file where the old one was.
class exRigFile {
public:
    // No rig comes near this; a larger file is refused before a byte of it is read.
    static constexpr size_t kMaxBytes = 16 * 1024 * 1024;

    // Refuses a missing or unreadable file, a folder, anything but a plain file, and a file
    // larger than kMaxBytes; `problem` names the file and the system's reason.
    static bool ReadWhole(const wxString& path, std::string& content, wxString& problem);

    // Writes a temporary file beside the target, makes it durable and renames it over the
    // target. On any failure the temporary file is removed, an existing target keeps its old
    // content, and `problem` reads "Could not save <file name>: <reason>."
    static bool WriteAtomically(const wxString& path, const std::string& content,
                                wxString& problem);

    // "rig-2026-12-09.rigwise.json" for the day of `when`, local time.
    static wxString SuggestedName(const wxDateTime& when);

private:
    static bool ReadOpen(int fd, const wxString& path, std::string& content, wxString& problem);
    static bool WriteAll(int fd, const std::string& content);
    static bool WriteTemporary(int fd, const std::string& content);
    static bool SyncFolder(const std::string& folder);
    static unsigned CreationMode();
};
