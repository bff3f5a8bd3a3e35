// Windows: the kind of each GetLastError() code a file load or save meets.
#include "textengine/file_reason.hpp"

#include <windows.h>

namespace ravlet {
namespace {

// Not in MinGW's headers; the values are Windows'.
constexpr DWORD kDiskQuotaExceeded = 1295;     // ERROR_DISK_QUOTA_EXCEEDED
constexpr DWORD kDirectoryNotSupported = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED

}  // namespace

FileFailure KindOfSystemError(int err) {
    switch (static_cast<DWORD>(err)) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileFailure::Missing;
        case ERROR_ACCESS_DENIED:
            return FileFailure::AccessDenied;
        case ERROR_SHARING_VIOLATION:
            return FileFailure::SharingViolation;
        case ERROR_LOCK_VIOLATION:
            return FileFailure::LockedByOther;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileFailure::DiskFull;
        case kDiskQuotaExceeded:
            return FileFailure::QuotaExceeded;
        case ERROR_WRITE_PROTECT:
            return FileFailure::WriteProtected;
        case ERROR_FILENAME_EXCED_RANGE:
            return FileFailure::NameTooLong;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return FileFailure::InvalidName;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return FileFailure::OutOfMemory;
        case ERROR_TOO_MANY_OPEN_FILES:
            return FileFailure::TooManyOpenInProcess;
        case ERROR_INVALID_HANDLE:
            return FileFailure::HandleClosed;
        case ERROR_NOT_READY:
            return FileFailure::NotReady;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_IO_DEVICE:
            return FileFailure::IoError;
        case ERROR_NOT_SAME_DEVICE:
            return FileFailure::CrossDevice;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileFailure::AlreadyExists;
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_NETNAME_DELETED:
        case ERROR_UNEXP_NET_ERR:
            return FileFailure::NetworkPathUnavailable;
        case ERROR_FILE_TOO_LARGE:
            return FileFailure::FileTooLarge;
        case ERROR_ARITHMETIC_OVERFLOW:
            return FileFailure::TooLargeToRead;
        case ERROR_INVALID_FUNCTION:
        case ERROR_NOT_SUPPORTED:
            return FileFailure::NotSupported;
        case ERROR_INVALID_PARAMETER:
            return FileFailure::InvalidOperation;
        case ERROR_CANT_RESOLVE_FILENAME:
            return FileFailure::TooManyLinks;
        case ERROR_BUSY:
            return FileFailure::DeviceBusy;
        case ERROR_USER_MAPPED_FILE:
            return FileFailure::MappedByOther;
        case kDirectoryNotSupported:
            return FileFailure::IsFolder;
        case ERROR_OPERATION_ABORTED:
            return FileFailure::InterruptedCall;
        default:
            return FileFailure::SystemError;
    }
}

}  // namespace ravlet
