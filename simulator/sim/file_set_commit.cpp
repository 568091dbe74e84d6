// The journalled commit of a file set and its recovery at start.
#include "file_set_commit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "batch_file_steps.h"
#include "stale_temp_files.h"
#include "state_digest.h"

namespace {

constexpr const char* kJournalHeader = "celestrix pending renames 1";
// Far above any real set (a thousand objects and a few files), small enough that a damaged
// count cannot make the parser reserve without end.
constexpr size_t kMaxPendingRenames = 100000;

std::string reasonOf(int errorNumber) { return errorNumber ? std::strerror(errorNumber) : "unknown error"; }

// A path relative to the data directory that stays inside it.
bool isInsideRelativePath(const std::string& path) {
    if (path.empty() || path.front() == '/' || path.find('\0') != std::string::npos) return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        const std::string_view part(path.data() + start, slash - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = slash + 1;
    }
    return true;
}

// The temporary name is the target's own: "<target>.tmp<pid>_<n>".
bool isTemporaryOf(const std::string& temporary, const std::string& target) {
    if (temporary.size() <= target.size() || temporary.compare(0, target.size(), target) != 0) return false;
    const std::string suffix = temporary.substr(target.size());
    if (suffix.rfind(".tmp", 0) != 0 || suffix.find('_') == std::string::npos) return false;
    const size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    return tempFileOwner(base + suffix) > 0;
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> directoriesOf(const std::string& dataDirectory, const std::vector<PendingRename>& renames) {
    std::vector<std::string> dirs = {dataDirectory};
    for (const PendingRename& r : renames) dirs.push_back(directoryOf(dataDirectory + r.target));
    return dirs;
}

// Renames every pending file that is still there; a missing one was renamed before the
// interruption. The first failed rename is returned (the others still run).
std::optional<FileSetFailure> applyRenames(const std::string& dataDirectory, const std::vector<PendingRename>& renames) {
    std::vector<int> errors(renames.size(), 0);
    for (size_t c = 0; c < renames.size(); c += kBatchChunk) {
        forEachInParallel(c, std::min(renames.size(), c + kBatchChunk), [&](size_t i) {
            const std::string temporary = dataDirectory + renames[i].temporary;
            if (!isRegularFile(temporary)) return;
            if (!renameOver(temporary, dataDirectory + renames[i].target)) errors[i] = errno ? errno : EIO;
        });
    }
    for (size_t i = 0; i < renames.size(); ++i)
        if (errors[i]) return FileSetFailure{dataDirectory + renames[i].target, reasonOf(errors[i])};
    return std::nullopt;
}

std::string withFinalSlash(const std::string& directory) {
    return directory.empty() || directory.back() == '/' ? directory : directory + "/";
}

void removeJournal(const std::string& dataDirectory) {
    ::unlink((dataDirectory + kPendingRenamesName).c_str());
    BatchDirectories({dataDirectory}).flushDirectories();
}

}  // namespace

std::string formatPendingRenames(const std::vector<PendingRename>& renames) {
    std::string text = std::string(kJournalHeader) + "\n" + std::to_string(renames.size()) + "\n";
    for (const PendingRename& r : renames) text += r.target + "\n" + r.temporary + "\n";
    return text + "end " + formatDigest(digestBytes(text)) + "\n";
}

std::optional<std::vector<PendingRename>> parsePendingRenames(const std::string& text) {
    const size_t endLine = text.rfind("\nend ");
    if (endLine == std::string::npos) return std::nullopt;
    const std::string_view body(text.data(), endLine + 1);
    std::string_view tail(text.data() + endLine + 5, text.size() - endLine - 5);
    if (tail.empty() || tail.back() != '\n') return std::nullopt;
    tail.remove_suffix(1);
    uint64_t digest = 0;
    if (!parseDigest(tail, digest) || digest != digestBytes(body)) return std::nullopt;

    std::vector<TextLine> lines = splitLines(body);
    if (lines.size() < 2 || lines[0].text != kJournalHeader) return std::nullopt;
    const std::string& countText = lines[1].text;
    if (countText.empty() || countText.size() > 6 || countText.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const size_t count = std::stoul(countText);
    if (count > kMaxPendingRenames || lines.size() != 2 + 2 * count) return std::nullopt;
    std::vector<PendingRename> renames;
    renames.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        PendingRename r{lines[2 + 2 * i].text, lines[3 + 2 * i].text};
        if (!isInsideRelativePath(r.target) || !isInsideRelativePath(r.temporary) ||
            !isTemporaryOf(r.temporary, r.target))
            return std::nullopt;
        renames.push_back(std::move(r));
    }
    return renames;
}

std::optional<FileSetFailure> commitFileSet(const std::string& dataDirectoryGiven, const std::vector<FileToWrite>& files) {
    const std::string dataDirectory = withFinalSlash(dataDirectoryGiven);
    const size_t n = files.size();
    for (const FileToWrite& f : files)
        if (f.path.size() <= dataDirectory.size() || f.path.compare(0, dataDirectory.size(), dataDirectory) != 0 ||
            !isInsideRelativePath(f.path.substr(dataDirectory.size())))
            return FileSetFailure{f.path, "the file lies outside the data directory"};
    const std::string journalPath = dataDirectory + kPendingRenamesName;
    if (isRegularFile(journalPath)) {
        // A set committed by an earlier run and not yet finished comes first.
        CommitRecovery earlier = finishInterruptedCommit(dataDirectory);
        if (earlier.outcome == CommitRecovery::Outcome::Failed)
            return FileSetFailure{journalPath, "an earlier save could not be finished: " + earlier.detail};
    }

    // 1. Every new file written beside its target, a chunk at a time on several threads.
    std::vector<std::string> temps(n);
    std::vector<int> errors(n, 0);
    std::vector<char> written(n, 0);
    auto writeOne = [&](size_t i) {
        const int fd = writeTemporaryFile(files[i].path, files[i].contents, temps[i]);
        if (fd < 0) {
            errors[i] = errno ? errno : EIO;
            return;
        }
        if (::close(fd) == 0) {
            written[i] = 1;
        } else {
            errors[i] = errno ? errno : EIO;
            ::unlink(temps[i].c_str());
        }
    };
    auto discard = [&] {
        for (size_t i = 0; i < n; ++i)
            if (written[i]) ::unlink(temps[i].c_str());
    };
    for (size_t c = 0; c < n; c += kBatchChunk) {
        const size_t end = std::min(n, c + kBatchChunk);
        forEachInParallel(c, end, writeOne);
        for (size_t i = c; i < end; ++i)
            if (!written[i]) {
                discard();
                return FileSetFailure{files[i].path, reasonOf(errors[i])};
            }
    }
    // 2. All flushed (once per file system). A failed flush cannot be pinned on one file.
    const BatchDirectories directories(files);
    if (n > 0 && !directories.flushFileSystems()) {
        const int flushErrno = errno;
        discard();
        return FileSetFailure{files.front().path, reasonOf(flushErrno)};
    }
    // 3. The journal, put in place atomically and flushed with its directory: from here on the
    // set is committed.
    std::vector<PendingRename> renames(n);
    for (size_t i = 0; i < n; ++i)
        renames[i] = {files[i].path.substr(dataDirectory.size()), temps[i].substr(dataDirectory.size())};
    errno = 0;
    if (!writeFileAtomically(journalPath, formatPendingRenames(renames))) {
        const int journalErrno = errno;
        discard();
        return FileSetFailure{journalPath, reasonOf(journalErrno)};
    }
    BatchDirectories({dataDirectory}).flushDirectories();
    // 4. The renames, then each directory flushed once so that they are durable, then the journal
    // removed.
    if (std::optional<FileSetFailure> failed = applyRenames(dataDirectory, renames)) return failed;
    directories.flushDirectories();
    removeJournal(dataDirectory);
    return std::nullopt;
}

CommitRecovery finishInterruptedCommit(const std::string& dataDirectoryGiven) {
    const std::string dataDirectory = withFinalSlash(dataDirectoryGiven);
    CommitRecovery result;
    const std::string journalPath = dataDirectory + kPendingRenamesName;
    std::string text;
    std::string reason;
    const bool present = ::access(journalPath.c_str(), F_OK) == 0;
    if (present) {
        std::optional<std::vector<PendingRename>> renames;
        if (readWholeFile(journalPath, text, &reason, size_t{64} << 20)) renames = parsePendingRenames(text);
        if (!renames) {
            // Never committed in full: the targets are all as they were.
            result.outcome = CommitRecovery::Outcome::RolledBack;
            result.detail = journalPath + " is damaged; the files it names keep their previous contents";
            removeJournal(dataDirectory);
        } else if (std::optional<FileSetFailure> failed = applyRenames(dataDirectory, *renames)) {
            result.outcome = CommitRecovery::Outcome::Failed;
            result.detail = "the save interrupted last time cannot be completed: " + failed->path + " (" +
                            failed->reason + ")";
            result.failure = *failed;
        } else {
            BatchDirectories(directoriesOf(dataDirectory, *renames)).flushDirectories();
            removeJournal(dataDirectory);
            result.outcome = CommitRecovery::Outcome::RolledForward;
            result.detail = "the save interrupted last time was completed from " + journalPath;
        }
    }
    // The new files of a set that was never committed (and the journal's own temporary file).
    if (result.outcome != CommitRecovery::Outcome::Failed)
        removeStaleTempFiles({dataDirectory, dataDirectory + "Objects/", dataDirectory + "Configurations/"});
    return result;
}
