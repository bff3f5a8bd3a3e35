// The save protocol, once for every system, over the primitives of file_system.hpp:
// the load that waits out an in-place rewrite, the save through a temporary file
// renamed over the file, the in-place save behind a recovery copy and a mark on the
// file itself, and the recovery that puts back only the file's own copy.
#include "textengine/file_access.hpp"

#include <algorithm>
#include <new>
#include <optional>
#include <random>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "textengine/file_reason.hpp"
#include "textengine/file_system.hpp"
#include "textengine/lock_wait.hpp"
#include "textengine/recovery_copy.hpp"
#include "textengine/text_file.hpp"

namespace ravlet::file_access {
namespace fsys = ravlet::file_system;

namespace {

// Large enough to stream at disk speed, small enough to stay out of the memory count.
constexpr std::size_t kChunk = std::size_t{1} << 20;

[[noreturn]] void Fail(const std::string& shown, FileFailure kind) { throw FileError(shown, kind); }

void FailUnless(FileFailure failed, const std::string& shown) {
    if (failed != FileFailure::Other) Fail(shown, failed);
}

// Everything from the start of `file`. Throws FileError (out of memory included).
std::string ReadAll(const fsys::File& file, const std::string& shown) {
    try {
        std::string text;
        const fsys::FileState st = fsys::StateOf(file, shown);
        // One allocation for the whole text, and no more: a large base is held once.
        if (st.size > text.max_size() / 2) Fail(shown, FileFailure::TooLargeToRead);
        text.resize(static_cast<std::size_t>(st.size));
        std::size_t got = 0;
        for (;;) {
            if (got == text.size()) {
                // Grown since the size was asked: read on, a chunk at a time.
                char probe[65536];
                const std::size_t n = fsys::ReadAt(file, probe, sizeof probe, got, shown);
                if (n == 0) break;
                text.append(probe, n);
                got += n;
                continue;
            }
            const std::size_t n =
                fsys::ReadAt(file, text.data() + got, text.size() - got, got, shown);
            if (n == 0) break;
            got += n;
        }
        text.resize(got);
        return text;
    } catch (const std::bad_alloc&) {
        Fail(shown, FileFailure::OutOfMemory);
    } catch (const std::length_error&) {
        Fail(shown, FileFailure::OutOfMemory);
    }
}

std::uint64_t NewToken() {
    static std::mt19937_64 engine{std::random_device{}()};
    return engine() | 1;  // never 0, the token of a copy read without a mark
}

// A copy found on disk, opened and checked against the file it claims to be of.
struct FoundCopy {
    fsys::FolderPtr folder;
    std::string leaf;
    std::string path;  // full, for messages
    fsys::FilePtr file;
    std::optional<CopyHeader> header;  // nullopt: not a whole copy of this file
};

// Whether `copy` is a whole recovery copy of the file `target` (token 0: any token),
// made by a user who may have made it: the file's owner, the administrator, or the
// user asking (who may write the file anyway).
bool IsOwnCopy(FoundCopy& copy, const fsys::FileState& target, std::uint64_t token,
               const std::string& shown) {
    const fsys::FileState st = fsys::StateOf(*copy.file, shown);
    if (st.owner != target.owner && !fsys::IsAdministrator(st.owner) &&
        st.owner != fsys::CurrentUser()) {
        return false;
    }
    if (st.size < kHeaderSize) return false;
    std::string line(kHeaderSize, '\0');
    if (fsys::ReadAt(*copy.file, line.data(), line.size(), 0, copy.path) != line.size())
        return false;
    const std::optional<CopyHeader> h = ParseHeader(line);
    if (!h || h->volume != target.volume || h->index != target.index) return false;
    if (token != 0 && h->token != token) return false;
    if (st.size != kHeaderSize + h->size) return false;
    Checksum sum;
    std::vector<char> buffer(kChunk);
    for (std::uint64_t at = 0; at < h->size;) {
        const std::size_t n =
            fsys::ReadAt(*copy.file, buffer.data(), buffer.size(), kHeaderSize + at, copy.path);
        if (n == 0) return false;
        sum.Add({buffer.data(), n});
        at += n;
    }
    if (sum.value != h->checksum) return false;
    copy.header = h;
    return true;
}

// Opens the copy at `path` (a regular file, never waited on); null when there is none.
std::optional<FoundCopy> OpenCopyAt(fsys::FolderPtr folder, const std::string& leaf,
                                    const std::string& path) {
    FoundCopy copy{std::move(folder), leaf, path, nullptr, std::nullopt};
    FileFailure failed = FileFailure::Other;
    try {
        copy.file = fsys::OpenIn(*copy.folder, leaf, fsys::Access::Read, path, failed);
    } catch (const FileError&) {
        return copy;  // not a regular file: there, but not a copy
    }
    if (!copy.file) {
        // A name too long for the folder holds no copy: it went to the cache.
        if (failed == FileFailure::Missing || failed == FileFailure::NameTooLong)
            return std::nullopt;
        Fail(path, failed);
    }
    return copy;
}

std::optional<FoundCopy> OpenCopyByPath(const std::string& path, const std::string& shown) {
    std::string leaf;
    fsys::FolderPtr folder;
    try {
        folder = fsys::OpenFolderOf(path, shown, leaf);
    } catch (const FileError& e) {
        if (e.Kind() == FileFailure::Missing) return std::nullopt;
        throw;
    }
    return OpenCopyAt(std::move(folder), leaf, path);
}

// The copies a cut-off save of `leaf` may have left where a file system keeps no mark:
// beside the file, and in this user's cache folder.
std::vector<FoundCopy> UnmarkedCopies(const fsys::Folder& folder, const std::string& leaf,
                                      const std::string& shown) {
    std::vector<FoundCopy> found;
    std::string copyLeaf;
    const std::string beside = fsys::FullPathIn(folder, RecoveryLeafInFolder(leaf));
    if (auto copy = OpenCopyByPath(beside, shown)) found.push_back(*std::move(copy));
    if (fsys::FolderPtr cache = fsys::OpenCacheFolder(false)) {
        const std::string name = RecoveryLeafInCache(fsys::FullPathIn(folder, leaf));
        const std::string path = fsys::FullPathIn(*cache, name);
        if (auto copy = OpenCopyAt(std::move(cache), name, path)) found.push_back(*std::move(copy));
    }
    return found;
}

// Refuses a file an in-place save left torn: marked on itself, so under every name, for
// every user; where the system keeps no mark, a whole copy of it beside it or in the
// cache. A file at a copy's name that is no copy of this file is let be.
void RefuseIfTorn(const fsys::File& file, const fsys::Folder& folder, const std::string& leaf,
                  const std::string& shown) {
    std::string value;
    switch (fsys::ReadMark(file, value)) {
        case fsys::Mark::Present: {
            const auto mark = ParseMark(value);
            throw FileError(shown, FileFailure::Interrupted, mark ? mark->copyPath : value);
        }
        case fsys::Mark::Absent:
            return;
        case fsys::Mark::Unsupported:
            break;
    }
    const fsys::FileState st = fsys::StateOf(file, shown);
    for (FoundCopy& copy : UnmarkedCopies(folder, leaf, shown)) {
        if (copy.file && IsOwnCopy(copy, st, 0, shown))
            throw FileError(shown, FileFailure::Interrupted, copy.path);
    }
}

// Waits for `attempt` as LockWait allows, naming Ravlet as the holder when it is one.
void WaitFor(const fsys::File& file, const std::string& shown,
             const std::function<bool()>& attempt) {
    WaitForLock(shown, attempt, [&] { return fsys::RavletHolds(file); });
}

}  // namespace

struct Held {
    std::string shown;
    fsys::FolderPtr folder;
    std::string leaf;
    fsys::TurnPtr turn;  // declared before the file: released after it
    fsys::FilePtr file;
    bool writable = false;
    fsys::FileState read;  // the file as it was read under the lock
};

void HeldRelease::operator()(Held* held) const noexcept { delete held; }

namespace {

// `leaf` of `folder`, opened (for writing where it may be) and locked for this writer,
// waiting for another as LockWait allows. Once locked it is checked to still be the
// file the name gives; the previous holder may have renamed a new file over it.
void OpenLocked(Held& held) {
    const std::string& shown = held.shown;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        FileFailure failed = FileFailure::Other;
        fsys::FilePtr file =
            fsys::OpenIn(*held.folder, held.leaf, fsys::Access::ReadWrite, shown, failed);
        held.writable = file != nullptr;
        // A read-only file system is said at once, before any wait for a lock.
        if (!file && failed == FileFailure::AccessDenied)
            file = fsys::OpenIn(*held.folder, held.leaf, fsys::Access::Read, shown, failed);
        if (!file) Fail(shown, failed);
        WaitFor(*file, shown, [&] { return fsys::TryWriterLock(*file, shown); });
        const fsys::FileState own = fsys::StateOf(*file, shown);
        const std::optional<fsys::FileState> named = fsys::StateAt(*held.folder, held.leaf, shown);
        if (!named) continue;  // renamed away; the next open tells whether it is gone
        if (fsys::SameFile(own, *named)) {
            held.file = std::move(file);
            return;
        }
    }
    Fail(shown, FileFailure::AlwaysReplaced);
}

HeldFile HoldPath(const std::string& path, bool refuseTorn) {
    HeldFile held(new Held{});
    held->shown = path;
    const std::string target = fsys::ResolveLinks(path, path);
    held->folder = fsys::OpenFolderOf(target, path, held->leaf);
    held->turn = fsys::TakeWriterTurn(*held->folder, held->leaf, path);
    OpenLocked(*held);
    fsys::MarkRavletWriter(*held->file);
    if (refuseTorn) RefuseIfTorn(*held->file, *held->folder, held->leaf, path);
    return held;
}

// Writes the old bytes of the held file, streamed, to a new recovery copy and marks the
// file with it: beside the file, or in the cache folder where that folder may not be
// written or the name is taken by something else. Durable before the file changes.
std::string MakeRecoveryCopy(Held& held, std::uint64_t token) {
    const std::string& shown = held.shown;
    const fsys::FileState st = fsys::StateOf(*held.file, shown);
    std::string mark;
    const fsys::Mark markState = fsys::ReadMark(*held.file, mark);

    auto writeIn = [&](const fsys::Folder& folder, const std::string& name,
                       FileFailure& failed) -> bool {
        fsys::TempPtr temp = fsys::CreateTemp(folder, false, failed);
        if (!temp) return false;
        fsys::File& out = fsys::FileOf(*temp);
        Checksum sum;
        std::vector<char> buffer(kChunk);
        std::size_t written = 0;
        std::uint64_t at = 0;
        for (;;) {
            const std::size_t n = fsys::ReadAt(*held.file, buffer.data(), buffer.size(), at, shown);
            if (n == 0) break;
            sum.Add({buffer.data(), n});
            failed = fsys::WriteAt(out, {buffer.data(), n}, kHeaderSize + at, written);
            if (failed != FileFailure::Other) return false;
            at += n;
        }
        const CopyHeader header{st.volume, st.index, token, at, sum.value};
        failed = fsys::WriteAt(out, HeaderText(header), 0, written);
        if (failed == FileFailure::Other) failed = fsys::Sync(out);
        if (failed != FileFailure::Other) return false;
        try {
            fsys::NameTemp(*temp, shown);
            if (fsys::RenameOver(*temp, name, shown) != fsys::Placed::Done) {
                failed = FileFailure::DeviceBusy;
                return false;
            }
        } catch (const FileError& e) {
            failed = e.Kind();  // a name too long for this folder, say: tried elsewhere
            return false;
        }
        fsys::SyncFolder(folder);
        return true;
    };

    // A file at the copy's name that is not a copy of this file is someone else's: kept.
    const std::string besideName = RecoveryLeafInFolder(held.leaf);
    bool besideFree = true;
    if (auto there = OpenCopyByPath(fsys::FullPathIn(*held.folder, besideName), shown))
        besideFree = there->file && IsOwnCopy(*there, st, 0, shown);
    FileFailure failed = FileFailure::Other;
    std::string copyPath;
    if (besideFree && writeIn(*held.folder, besideName, failed)) {
        copyPath = fsys::FullPathIn(*held.folder, besideName);
    } else {
        const bool elsewhere = !besideFree || failed == FileFailure::AccessDenied ||
                               failed == FileFailure::ReadOnlyFileSystem ||
                               failed == FileFailure::WriteProtected ||
                               failed == FileFailure::NameTooLong;
        if (!elsewhere) throw FileError(shown, FileFailure::CopyFailed, Wording(failed));
        const fsys::FolderPtr cache = fsys::OpenCacheFolder(true);
        if (!cache)
            throw FileError(shown, FileFailure::CopyFailed,
                            Wording(FileFailure::FolderNotWritable));
        fsys::RemoveStaleTemps(*cache);
        const std::string name = RecoveryLeafInCache(fsys::FullPathIn(*held.folder, held.leaf));
        failed = FileFailure::Other;
        if (!writeIn(*cache, name, failed))
            throw FileError(shown, FileFailure::CopyFailed, Wording(failed));
        copyPath = fsys::FullPathIn(*cache, name);
    }
    // The mark goes on the file last, so that a marked file always has its whole copy.
    if (markState != fsys::Mark::Unsupported) {
        const FileFailure synced = fsys::SetMark(*held.file, MarkValue(token, copyPath))
                                       ? fsys::Sync(*held.file)
                                       : FileFailure::NotSupported;
        if (synced != FileFailure::Other) {
            if (auto copy = OpenCopyByPath(copyPath, shown))
                fsys::Remove(*copy->folder, copy->leaf);
            throw FileError(shown, FileFailure::CopyFailed, Wording(synced));
        }
    }
    return copyPath;
}

void RemoveCopy(const std::string& copyPath, const std::string& shown) {
    if (auto copy = OpenCopyByPath(copyPath, shown)) {
        if (fsys::Remove(*copy->folder, copy->leaf)) fsys::SyncFolder(*copy->folder);
    }
}

// Makes the bytes that `next` gives (a chunk at a time, "" at the end) the whole
// content of `file`, whose size is `oldSize`. `written` counts the bytes written from
// the start. Returns the failure, FileFailure::Other for none.
template <typename Next>
FileFailure Overwrite(const fsys::File& file, std::uint64_t newSize, std::uint64_t oldSize,
                      Next next, std::uint64_t& written) {
    written = 0;
    if (newSize > oldSize) {
        if (const FileFailure f = fsys::Reserve(file, newSize); f != FileFailure::Other) return f;
    }
    for (;;) {
        const std::string_view chunk = next();
        if (chunk.empty()) break;
        std::size_t done = 0;
        const FileFailure f = fsys::WriteAt(file, chunk, written, done);
        written += done;
        if (f != FileFailure::Other) return f;
    }
    if (const FileFailure f = fsys::SetSize(file, written); f != FileFailure::Other) return f;
    return fsys::Sync(file);
}

// The body of the copy `copy` (checked whole), a chunk at a time, up to `limit` bytes.
struct CopyReader {
    const FoundCopy& copy;
    std::uint64_t limit;
    std::vector<char> buffer = std::vector<char>(kChunk);
    std::uint64_t at = 0;
    std::string_view operator()() {
        if (at >= limit) return {};
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), limit - at));
        const std::size_t n =
            fsys::ReadAt(*copy.file, buffer.data(), want, kHeaderSize + at, copy.path);
        at += n;
        return {buffer.data(), n};
    }
};

// Rewrites the held file in place behind a recovery copy and a mark: after a kill the
// file is old, new, or marked torn until Recover puts the old text back. A failed
// write puts the old bytes back itself.
void SaveInPlace(Held& held, const std::string& text) {
    const std::string& shown = held.shown;
    if (!held.writable) Fail(shown, FileFailure::ReadOnlyFile);
    WaitFor(*held.file, shown, [&] { return fsys::TryRewriteLock(*held.file, shown); });
    if (!fsys::Unchanged(fsys::StateOf(*held.file, shown), held.read) ||
        !fsys::FolderUnchanged(*held.folder)) {
        Fail(shown, FileFailure::Replaced);
    }
    // Readers wait from here until the file is whole again, old or new.
    struct RewriteEnd {
        fsys::File& file;
        ~RewriteEnd() { fsys::EndRewriteLock(file); }
    } rewriteEnd{*held.file};
    const std::uint64_t token = NewToken();
    const std::string copyPath = MakeRecoveryCopy(held, token);
    const fsys::DeferralPtr deferred = fsys::DeferInterruptions();
    std::uint64_t written = 0;
    std::size_t at = 0;
    const FileFailure failed = Overwrite(
        *held.file, text.size(), held.read.size,
        [&]() -> std::string_view {
            const std::string_view chunk = std::string_view(text).substr(at, kChunk);
            at += chunk.size();
            return chunk;
        },
        written);
    if (failed == FileFailure::Other) {
        fsys::ClearMark(*held.file);
        (void)fsys::Sync(*held.file);
        RemoveCopy(copyPath, shown);
        return;
    }
    // Only the bytes written are put back, so a write stopped by a size limit is undone
    // within the limit.
    std::optional<FoundCopy> copy = OpenCopyByPath(copyPath, shown);
    FileFailure restored = FileFailure::Missing;
    if (copy && copy->file) {
        // The bytes past those written are still the old ones: written back only up to
        // there, then the old size set again.
        CopyReader reader{*copy, std::min<std::uint64_t>(written, held.read.size)};
        restored = FileFailure::Other;
        for (std::uint64_t at = 0; restored == FileFailure::Other;) {
            const std::string_view chunk = reader();
            if (chunk.empty()) break;
            std::size_t done = 0;
            restored = fsys::WriteAt(*held.file, chunk, at, done);
            at += done;
        }
        if (restored == FileFailure::Other) restored = fsys::SetSize(*held.file, held.read.size);
        if (restored == FileFailure::Other) restored = fsys::Sync(*held.file);
    }
    if (restored != FileFailure::Other) {
        throw FileError(shown,
                        Wording(failed) + "; прежний текст вернуть не удалось: " +
                            Wording(restored) + "; " + Wording(FileFailure::Interrupted, copyPath),
                        FileFailure::Interrupted);
    }
    fsys::ClearMark(*held.file);
    (void)fsys::Sync(*held.file);
    RemoveCopy(copyPath, shown);
    Fail(shown, failed);
}

enum class Outcome { Done, InPlace };

// A new file with the text (and the identity of the held file, when there is one)
// renamed over `leaf`, once the folder and the file are checked to be the ones read,
// with no name added meanwhile.
Outcome ReplaceThroughTemp(const fsys::Folder& folder, const std::string& leaf, Held* held,
                           const std::string& text, const std::string& shown) {
    FileFailure failed = FileFailure::Other;
    const fsys::TempPtr temp = fsys::CreateTemp(folder, held != nullptr, failed);
    if (!temp) {
        if (failed == FileFailure::AccessDenied) {
            if (held != nullptr) return Outcome::InPlace;
            Fail(shown, FileFailure::FolderNotWritable);
        }
        Fail(shown, failed);
    }
    fsys::File& out = fsys::FileOf(*temp);
    std::size_t written = 0;
    FailUnless(fsys::WriteAt(out, text, 0, written), shown);
    if (held != nullptr && !fsys::GiveIdentity(*temp, *held->file, held->read, shown))
        return Outcome::InPlace;
    FailUnless(fsys::Sync(out), shown);
    fsys::NameTemp(*temp, shown);
    if (!fsys::FolderUnchanged(folder)) Fail(shown, FileFailure::Replaced);
    const std::optional<fsys::FileState> now = fsys::StateAt(folder, leaf, shown);
    if (held != nullptr) {
        if (!now || !fsys::Unchanged(*now, held->read)) Fail(shown, FileFailure::Replaced);
        // A name added since the read would keep the old text: every name gets the new
        // one, in place.
        if (now->links != held->read.links) return Outcome::InPlace;
    } else if (now) {
        Fail(shown, FileFailure::Replaced);
    }
    const bool stillOpen = held == nullptr || fsys::ReleaseBeforeReplace(*held->file);
    if (fsys::RenameOver(*temp, leaf, shown) == fsys::Placed::CannotReplace) {
        if (held == nullptr || !stillOpen) Fail(shown, FileFailure::DeviceBusy);
        return Outcome::InPlace;
    }
    fsys::SyncFolder(folder);
    // A name added in the moment between the check and the rename still holds the old
    // file: said, never a split passed over in silence.
    if (held != nullptr && stillOpen && fsys::StateOf(*held->file, shown).links > 0)
        Fail(shown, FileFailure::LinkedDuringSave);
    return Outcome::Done;
}

// Writes `text` over the held file, keeping its mode, owner, group, extended
// attributes and ACLs: through a temporary file renamed over it, or in place when the
// file has other hard links, its folder is not writable, its identity could not be
// given to a new file, or it cannot be renamed over (a mount point).
void SaveOver(Held& held, const std::string& text) {
    const std::string& shown = held.shown;
    // Neither a rename nor root's rights may override a file kept read-only.
    if (const auto refusal = fsys::WriteRefusal(*held.folder, held.leaf, *held.file))
        Fail(shown, *refusal);
    if (!held.writable) Fail(shown, FileFailure::ReadOnlyFile);
    fsys::RemoveStaleTemps(*held.folder);
    // Another name would keep the old text if a new file took this one's place.
    if (held.read.links > 1) return SaveInPlace(held, text);
    if (ReplaceThroughTemp(*held.folder, held.leaf, &held, text, shown) == Outcome::InPlace)
        SaveInPlace(held, text);
}

}  // namespace

std::string CacheFolder() { return fsys::CacheFolderPath(); }

std::string Load(const std::string& path) {
    const fsys::FilePtr file = fsys::OpenRegular(path, fsys::Access::Read, path);
    // Waits out an in-place rewrite, so the text is never half old, half new; a save
    // that replaces the file leaves this one as it was.
    WaitFor(*file, path, [&] { return fsys::TryReaderLock(*file, path); });
    std::string leaf;
    const fsys::FolderPtr folder = fsys::OpenFolderOf(fsys::ResolveLinks(path, path), path, leaf);
    RefuseIfTorn(*file, *folder, leaf, path);
    return ReadAll(*file, path);
}

void Save(const std::string& path, const std::string& text) {
    const std::string target = fsys::ResolveLinks(path, path);
    std::string leaf;
    const fsys::FolderPtr folder = fsys::OpenFolderOf(target, path, leaf);
    if (fsys::StateAt(*folder, leaf, path)) {
        std::string old;
        const HeldFile held = Hold(path, old);
        SaveOver(*held, text);
        return;
    }
    // A new file, through a temporary one: nothing to write in place.
    const fsys::TurnPtr turn = fsys::TakeWriterTurn(*folder, leaf, path);
    fsys::RemoveStaleTemps(*folder);
    (void)ReplaceThroughTemp(*folder, leaf, nullptr, text, path);
}

HeldFile Hold(const std::string& path, std::string& text) {
    HeldFile held = HoldPath(path, true);
    text = ReadAll(*held->file, path);
    held->read = fsys::StateOf(*held->file, path);
    return held;
}

void SaveHeld(Held& held, const std::string& text) {
    if (!held.file) throw std::logic_error("a held file is saved once");
    SaveOver(held, text);
}

bool Recover(const std::string& path) {
    const HeldFile held = HoldPath(path, false);
    const fsys::FileState st = fsys::StateOf(*held->file, path);
    std::string value;
    const fsys::Mark mark = fsys::ReadMark(*held->file, value);
    std::optional<FoundCopy> copy;
    if (mark == fsys::Mark::Present) {
        const std::optional<MarkFields> fields = ParseMark(value);
        if (!fields) throw FileError(path, FileFailure::CopyNotOwn, value);
        copy = OpenCopyByPath(fields->copyPath, path);
        if (!copy) throw FileError(fields->copyPath, FileFailure::Missing);
        if (!copy->file || !IsOwnCopy(*copy, st, fields->token, path))
            throw FileError(path, FileFailure::CopyNotOwn, copy->path);
    } else {
        // This file's own copy is recovered even beside a planted one; a planted one alone
        // is named.
        std::optional<std::string> foreign;
        for (FoundCopy& found : UnmarkedCopies(*held->folder, held->leaf, path)) {
            if (!found.file || !IsOwnCopy(found, st, 0, path)) {
                if (!foreign) foreign = found.path;
                continue;
            }
            // On a file system that keeps marks, an unmarked file was saved after its copy
            // was made: putting it back would undo that save.
            if (mark == fsys::Mark::Absent)
                throw FileError(path, FileFailure::CopyOutdated, found.path);
            copy = std::move(found);
            break;
        }
        if (!copy && foreign) throw FileError(path, FileFailure::CopyNotOwn, *foreign);
        if (!copy) return false;
    }
    if (!held->writable) Fail(path, FileFailure::ReadOnlyFile);
    WaitFor(*held->file, path, [&] { return fsys::TryRewriteLock(*held->file, path); });
    // Back into the same file, in place, so that every name sees it.
    const fsys::DeferralPtr deferred = fsys::DeferInterruptions();
    CopyReader reader{*copy, copy->header->size};
    std::uint64_t written = 0;
    FailUnless(Overwrite(*held->file, copy->header->size, st.size, reader, written), path);
    fsys::ClearMark(*held->file);
    FailUnless(fsys::Sync(*held->file), path);
    if (fsys::Remove(*copy->folder, copy->leaf)) fsys::SyncFolder(*copy->folder);
    return true;
}

}  // namespace ravlet::file_access
