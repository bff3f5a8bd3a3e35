// Russian reasons for the GetLastError() codes a load or save meets on Windows: the
// system's own text would be in the language of the installation.
#include "textengine/file_reason.hpp"

#include <windows.h>

namespace ravlet {
namespace {

// Not in MinGW's headers; the values are Windows'.
constexpr DWORD kDiskQuotaExceeded = 1295;     // ERROR_DISK_QUOTA_EXCEEDED
constexpr DWORD kDirectoryNotSupported = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED

}  // namespace

std::string ReasonOf(int err) {
    switch (static_cast<DWORD>(err)) {
        // The same words as for ENOENT on POSIX: the message does not depend on the system.
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "файл или папка не найдены";
        case ERROR_ACCESS_DENIED:
            return "нет прав доступа";
        case ERROR_SHARING_VIOLATION:
            return "файл занят другой программой";
        case ERROR_LOCK_VIOLATION:
            return "файл заблокирован другой программой";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "диск заполнен";
        case kDiskQuotaExceeded:
            return "превышена квота диска";
        case ERROR_WRITE_PROTECT:
            return "диск защищён от записи";
        case ERROR_FILENAME_EXCED_RANGE:
            return "слишком длинное имя файла или пути";
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return "недопустимое имя файла или пути";
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return kNoMemory;
        case ERROR_TOO_MANY_OPEN_FILES:
            return "программа открыла слишком много файлов";
        case ERROR_INVALID_HANDLE:
            return "дескриптор файла закрыт";
        case ERROR_NOT_READY:
            return "устройство не готово";
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_IO_DEVICE:
            return "ошибка ввода-вывода на диске";
        case ERROR_NOT_SAME_DEVICE:
            return "файл и папка на разных дисках";
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return "файл уже существует";
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_NETNAME_DELETED:
        case ERROR_UNEXP_NET_ERR:
            return "сетевой путь недоступен, откройте файл заново";
        case ERROR_FILE_TOO_LARGE:
            return "превышен допустимый размер файла";
        case ERROR_ARITHMETIC_OVERFLOW:
            return "файл слишком велик для чтения";
        case ERROR_INVALID_FUNCTION:
        case ERROR_NOT_SUPPORTED:
            return "операция не поддерживается файловой системой";
        case ERROR_INVALID_PARAMETER:
            return "недопустимая операция для этого файла";
        case ERROR_CANT_RESOLVE_FILENAME:
            return "слишком много символических ссылок";
        case ERROR_BUSY:
            return "файл или устройство заняты";
        case ERROR_USER_MAPPED_FILE:
            return "файл отображён в память другой программой";
        case kDirectoryNotSupported:
            return "это папка, а не файл";
        case ERROR_OPERATION_ABORTED:
            return "операция прервана";
        default:
            return "системная ошибка номер " + std::to_string(err);
    }
}

}  // namespace ravlet
