// The one Russian wording of each file problem: the system's own texts would be
// English, or in the language of the installation.
#include "textengine/file_reason.hpp"

namespace ravlet {

std::string Wording(FileFailure kind, const std::string& detail) {
    switch (kind) {
        case FileFailure::Other:
            return detail;
        case FileFailure::SystemError:
            return "системная ошибка номер " + detail;
        case FileFailure::Missing:
            return "файл или папка не найдены";
        case FileFailure::NotAFolderInPath:
            return "в пути есть не папка";
        case FileFailure::AccessDenied:
            return "нет прав доступа";
        case FileFailure::IsFolder:
            return "это папка, а не файл";
        case FileFailure::IsDevice:
            return "это устройство, а не обычный файл";
        case FileFailure::IsFifo:
            return "это именованный канал, а не обычный файл";
        case FileFailure::IsSocket:
            return "это сокет, а не обычный файл";
        case FileFailure::NotRegular:
            return "это не обычный файл";
        case FileFailure::DiskFull:
            return "диск заполнен";
        case FileFailure::QuotaExceeded:
            return "превышена квота диска";
        case FileFailure::ReadOnlyFileSystem:
            return "файловая система только для чтения";
        case FileFailure::WriteProtected:
            return "диск защищён от записи";
        case FileFailure::FileTooLarge:
            return "превышен допустимый размер файла";
        case FileFailure::NameTooLong:
            return "слишком длинное имя файла или пути";
        case FileFailure::TooManyLinks:
            return "слишком много символических ссылок";
        case FileFailure::IoError:
            return "ошибка ввода-вывода на диске";
        case FileFailure::RunningProgram:
            return "файл занят: это выполняющаяся программа";
        case FileFailure::DeviceBusy:
            return "файл или устройство заняты";
        case FileFailure::TooManyOpenInProcess:
            return "программа открыла слишком много файлов";
        case FileFailure::TooManyOpenInSystem:
            return "в системе открыто слишком много файлов";
        case FileFailure::OutOfMemory:
            return kNoMemory;
        case FileFailure::CrossDevice:
#ifdef _WIN32
            return "файл и папка на разных дисках";  // Windows users know drives, not file systems
#else
            return "файл и папка на разных файловых системах";
#endif
        case FileFailure::LockedByOther:
            return "файл заблокирован другой программой";
        case FileFailure::SharingViolation:
            return "файл занят другой программой";
        case FileFailure::NoReader:
            return "устройство недоступно или у канала нет читателя";
        case FileFailure::TooLargeToRead:
            return "файл слишком велик для чтения";
        case FileFailure::InvalidOperation:
            return "недопустимая операция для этого файла";
        case FileFailure::StaleNetworkFile:
            return "файл на сетевом диске больше не доступен, откройте его заново";
        case FileFailure::NetworkPathUnavailable:
            return "сетевой путь недоступен, откройте файл заново";
        case FileFailure::PipeClosed:
            return "канал закрыт читающей стороной";
        case FileFailure::HandleClosed:
            return "дескриптор файла закрыт";
        case FileFailure::InterruptedCall:
#ifdef _WIN32
            return "операция прервана";  // no signals there: a cancelled call
#else
            return "операция прервана сигналом";
#endif
        case FileFailure::NotSupported:
            return "операция не поддерживается файловой системой";
        case FileFailure::NotReady:
            return "устройство не готово";
        case FileFailure::InvalidName:
            return "недопустимое имя файла или пути";
        case FileFailure::AlreadyExists:
            return "файл уже существует";
        case FileFailure::MappedByOther:
            return "файл отображён в память другой программой";
        case FileFailure::ReadOnlyFile:
            return "файл только для чтения";
        case FileFailure::FolderNotWritable:
            return "папка недоступна для записи";
        case FileFailure::Busy:
            return "файл занят другой программой, ожидание прекращено через " + detail + " с";
        case FileFailure::BusySaving:
            return "файл занят другим сохранением Ravlet, ожидание прекращено через " + detail +
                   " с";
        case FileFailure::Replaced:
            return "файл заменён другой программой во время сохранения";
        case FileFailure::AlwaysReplaced:
            return "файл всё время заменяется другой программой";
        case FileFailure::LinkedDuringSave:
            return "у файла появилось второе имя во время сохранения; файл не изменён, "
                   "сохраните ещё раз";
        case FileFailure::Interrupted:
            return "прежняя запись файла была прервана, файл может быть испорчен; его прежний "
                   "текст сохранён в " +
                   detail;
        case FileFailure::CopyFailed:
            return "не удалось сохранить копию прежнего текста (" + detail + "); файл не изменён";
        case FileFailure::NothingToRecover:
            return "нет копии прерванной записи: возвращать нечего";
        case FileFailure::CopyNotOwn:
            return detail + " не является копией этого файла, сделанной Ravlet; файл не изменён";
        case FileFailure::CopyOutdated:
            return "копия " + detail +
                   " старше последнего сохранения файла и не возвращена; удалите её, если она "
                   "не нужна";
    }
    return detail;
}

std::string ReasonOf(int err) {
    const FileFailure kind = KindOfSystemError(err);
    return Wording(kind, kind == FileFailure::SystemError ? std::to_string(err) : std::string());
}

}  // namespace ravlet
