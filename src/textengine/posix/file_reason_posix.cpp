// POSIX: the kind of each errno value a file load or save meets.
#include "textengine/file_reason.hpp"

#include <cerrno>

namespace ravlet {

FileFailure KindOfSystemError(int err) {
    switch (err) {
        case ENOENT:
            return FileFailure::Missing;
        case ENOTDIR:
            return FileFailure::NotAFolderInPath;
        case EACCES:
        case EPERM:
            return FileFailure::AccessDenied;
        case EISDIR:
            return FileFailure::IsFolder;
        case ENOSPC:
            return FileFailure::DiskFull;
        case EDQUOT:
            return FileFailure::QuotaExceeded;
        case EROFS:
            return FileFailure::ReadOnlyFileSystem;
        case EFBIG:
            return FileFailure::FileTooLarge;
        case ENAMETOOLONG:
            return FileFailure::NameTooLong;
        case ELOOP:
            return FileFailure::TooManyLinks;
        case EIO:
            return FileFailure::IoError;
        case ETXTBSY:
            return FileFailure::RunningProgram;
        case EBUSY:
            return FileFailure::DeviceBusy;
        case EMFILE:
            return FileFailure::TooManyOpenInProcess;
        case ENFILE:
            return FileFailure::TooManyOpenInSystem;
        case ENOMEM:
            return FileFailure::OutOfMemory;
        case EXDEV:
            return FileFailure::CrossDevice;
        case EAGAIN:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
            return FileFailure::LockedByOther;
        case ENXIO:
            return FileFailure::NoReader;
        case EOVERFLOW:
            return FileFailure::TooLargeToRead;
        case EINVAL:
            return FileFailure::InvalidOperation;
        case ESTALE:
            return FileFailure::StaleNetworkFile;
        case EPIPE:
            return FileFailure::PipeClosed;
        case EBADF:
            return FileFailure::HandleClosed;
        case EINTR:
            return FileFailure::InterruptedCall;
        case ENOTSUP:
#if EOPNOTSUPP != ENOTSUP
        case EOPNOTSUPP:
#endif
            return FileFailure::NotSupported;
        default:
            return FileFailure::SystemError;
    }
}

}  // namespace ravlet
