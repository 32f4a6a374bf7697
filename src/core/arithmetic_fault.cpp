#include "core/arithmetic_fault.h"

namespace dalvex {

const char* FaultText(FaultKind kind) {
    switch (kind) {
        case FaultKind::DivisionByZero:
            return "Деление на ноль";
        case FaultKind::InvalidOperation:
            return "Недопустимая операция с плавающей точкой";
        case FaultKind::Overflow:
            return "Переполнение при операции с плавающей точкой";
    }
    return "Ошибка вычислений";
}

void RaiseFault(FaultKind kind) {
    throw ArithmeticFault(kind);
}

std::string InterruptionText(const ArithmeticFault& fault) {
    return std::string("Прерывание: ") + fault.what();
}

}  // namespace dalvex
