// POSIX locks: writers take flock; an in-place rewrite also holds an
// open-file-description lock (F_OFD_SETLK) over the content, the one lock readers
// wait for, and a Ravlet writer holds a one-byte marker range telling readers that its
// flock need not be waited for.
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>

#include "textengine/posix/handles.hpp"

namespace ravlet::file_system {
namespace {

struct Range {
    off_t start;
    off_t length;
};
constexpr Range kContent{0, off_t{1} << 62};
constexpr Range kMarker{off_t{1} << 62, 1};

// One attempt at `type` (F_RDLCK, F_WRLCK) on `range`. A file system without these
// locks lets everyone through.
bool TryRangeLock(int fd, short type, Range range, const std::string& shown) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = range.start;
    lock.l_len = range.length;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR) return false;
    if (errno == EINVAL || errno == ENOLCK || errno == EOPNOTSUPP) return true;
    Fail(shown, errno);
}

// Whether another open file description holds `range` in a way a write lock meets.
bool RangeHeld(int fd, Range range) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = range.start;
    probe.l_len = range.length;
    return ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

}  // namespace

// flock binds until the rename is done: the lock is the turn.
struct Turn {};
void Closer::operator()(Turn* turn) const noexcept { delete turn; }
TurnPtr TakeWriterTurn(const Folder&, const std::string&, const std::string&) { return nullptr; }

bool TryWriterLock(File& file, const std::string& shown) {
    if (::flock(file.fd.Get(), LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EWOULDBLOCK || errno == EINTR) return false;
    Fail(shown, errno);
}

bool TryReaderLock(File& file, const std::string& shown) {
    const int fd = file.fd.Get();
    if (::flock(fd, LOCK_SH | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return true;  // no flock here: read on
    return RangeHeld(fd, kMarker) && TryRangeLock(fd, F_RDLCK, kContent, shown);
}

void MarkRavletWriter(File& file) { (void)TryRangeLock(file.fd.Get(), F_RDLCK, kMarker, ""); }

bool RavletHolds(const File& file) { return RangeHeld(file.fd.Get(), kMarker); }

bool TryRewriteLock(File& file, const std::string& shown) {
    return TryRangeLock(file.fd.Get(), F_WRLCK, kContent, shown);
}

void EndRewriteLock(File& file) {
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kContent.start;
    lock.l_len = kContent.length;
    (void)::fcntl(file.fd.Get(), F_OFD_SETLK, &lock);
}

bool ReleaseBeforeReplace(File&) { return true; }

}  // namespace ravlet::file_system
