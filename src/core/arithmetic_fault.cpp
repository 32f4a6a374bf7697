#include "core/arithmetic_fault.h"

#include <cfenv>

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

namespace {

constexpr int WatchedFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

}  // namespace

void ClearFloatingFlags() {
    std::feclearexcept(FE_ALL_EXCEPT);
}

void CheckFloatingFlags() {
    const int raised = std::fetestexcept(WatchedFlags);
    if (raised == 0)
        return;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (raised & FE_DIVBYZERO)
        RaiseFault(FaultKind::DivisionByZero);
    if (raised & FE_INVALID)
        RaiseFault(FaultKind::InvalidOperation);
    RaiseFault(FaultKind::Overflow);
}

FloatingFlagsKept::FloatingFlagsKept() : saved_(std::fetestexcept(FE_ALL_EXCEPT)) {}

FloatingFlagsKept::~FloatingFlagsKept() {
    std::feclearexcept(FE_ALL_EXCEPT);
    if (saved_ != 0)
        std::feraiseexcept(saved_);
}

}  // namespace dalvex
