// Russian reasons for errno values: the system's own text would be English.
#include "textengine/file_reason.hpp"

#include <cerrno>

namespace ravlet {

std::string ReasonOf(int err) {
    switch (err) {
        case ENOENT:
            return "файл или папка не найдены";
        case ENOTDIR:
            return "в пути есть не папка";
        case EACCES:
        case EPERM:
            return "нет прав доступа";
        case EISDIR:
            return "это папка, а не файл";
        case ENOSPC:
            return "диск заполнен";
        case EDQUOT:
            return "превышена квота диска";
        case EROFS:
            return "файловая система только для чтения";
        case EFBIG:
            return "превышен допустимый размер файла";
        case ENAMETOOLONG:
            return "слишком длинное имя файла или пути";
        case ELOOP:
            return "слишком много символических ссылок";
        case EIO:
            return "ошибка ввода-вывода на диске";
        case ETXTBSY:
            return "файл занят: это выполняющаяся программа";
        case EBUSY:
            return "файл или устройство заняты";
        case EMFILE:
            return "программа открыла слишком много файлов";
        case ENFILE:
            return "в системе открыто слишком много файлов";
        case ENOMEM:
            return kNoMemory;
        case EXDEV:
            return "файл и папка на разных файловых системах";
        case EAGAIN:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
            return "файл заблокирован другой программой";
        case ENXIO:
            return "устройство недоступно или у канала нет читателя";
        case EOVERFLOW:
            return "файл слишком велик для чтения";
        case EINVAL:
            return "недопустимая операция для этого файла";
        case ESTALE:
            return "файл на сетевом диске больше не доступен, откройте его заново";
        case EPIPE:
            return "канал закрыт читающей стороной";
        case EBADF:
            return "дескриптор файла закрыт";
        case EINTR:
            return "операция прервана сигналом";
        case ENOTSUP:
#if EOPNOTSUPP != ENOTSUP
        case EOPNOTSUPP:
#endif
            return "операция не поддерживается файловой системой";
        default:
            return "системная ошибка номер " + std::to_string(err);
    }
}

}  // namespace ravlet
