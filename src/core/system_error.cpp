#include "core/system_error.h"

#include <cerrno>
#include <cstring>

namespace dalvex {

std::string SystemErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "нет такого файла или папки";
        case EACCES:
        case EPERM:
            return "нет доступа";
        case ENOSPC:
        case EDQUOT:
            return "нет места на диске";
        case EROFS:
            return "диск открыт только для чтения";
        case EISDIR:
            return "это папка, а не файл";
        case ENOTDIR:
            return "часть пути — не папка";
        case ENAMETOOLONG:
            return "слишком длинное имя";
        case EEXIST:
            return "файл уже существует";
        case EIO:
            return "ошибка чтения или записи на диске";
        case EMFILE:
        case ENFILE:
            return "открыто слишком много файлов";
        default:
            return std::strerror(errorNumber);
    }
}

}  // namespace dalvex
