// Replacing a set of files in the data directory all at once. Every new file is written beside
// its target and flushed; then one small journal naming each pending rename is put in place
// atomically and flushed, which commits the set; then the renames run and the journal is removed.
// A process killed at any moment leaves either no journal (the targets are all old, the new files
// are leftovers to remove) or a complete journal (the next start finishes the renames), so a
// start always sees one whole set. Used by the exit save and both default-configuration restores.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text_file.h"

// Data-directory-relative name of the journal.
inline constexpr const char* kPendingRenamesName = "pending_renames.journal";

struct FileSetFailure {
    std::string path;    // the file that could not be written (or the journal)
    std::string reason;  // why, as the system says it ("No space left on device")
};

// Replaces every file of the set, or none. Every path must lie below dataDirectory (which ends in
// "/"). On failure nothing has been replaced and no new file is left behind, except when a
// rename fails after the commit: the journal then stays, and the next start finishes the set.
std::optional<FileSetFailure> commitFileSet(const std::string& dataDirectory,
                                            const std::vector<FileToWrite>& files);

struct CommitRecovery {
    enum class Outcome {
        NothingPending,  // no journal
        RolledForward,   // a committed set was completed
        RolledBack,      // a damaged journal was dropped; the targets are as they were
        Failed           // a committed rename could not be done; detail says which
    };
    Outcome outcome = Outcome::NothingPending;
    std::string detail;      // what was done, for standard error
    FileSetFailure failure;  // Failed: the file that could not be replaced, and why
};

// Run at every start that holds the data directory's lock, before anything is read: finishes a
// committed set, drops a damaged journal, and removes the new files of a set that was never
// committed (temporary files of processes that are gone, in the data directory, Objects/ and
// Configurations/).
CommitRecovery finishInterruptedCommit(const std::string& dataDirectory);

// The journal's text for (target, temporary file) pairs relative to the data directory, and its
// parser; the parser refuses anything damaged, and any pair whose temporary name is not the
// target's own "<target>.tmp<pid>_<n>" or that leaves the data directory.
struct PendingRename {
    std::string target;     // relative to the data directory
    std::string temporary;  // relative to the data directory
};
std::string formatPendingRenames(const std::vector<PendingRename>& renames);
std::optional<std::vector<PendingRename>> parsePendingRenames(const std::string& text);
