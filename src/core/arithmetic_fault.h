// Division by zero, invalid operations and overflow never become printed or
// stored infinities or NaNs: the computation raises an ArithmeticFault, and
// the command that ran it stops with "Прерывание: " + the fault's text while
// everything written before stays.
#pragma once

#include <cmath>
#include <stdexcept>
#include <string>

namespace dalvex {

enum class FaultKind { DivisionByZero, InvalidOperation, Overflow };

// The fault's text as the person reads it after "Прерывание: ".
const char* FaultText(FaultKind kind);

class ArithmeticFault : public std::runtime_error {
  public:
    explicit ArithmeticFault(FaultKind kind) : std::runtime_error(FaultText(kind)), kind_(kind) {}
    FaultKind kind() const { return kind_; }

  private:
    FaultKind kind_;
};

[[noreturn]] void RaiseFault(FaultKind kind);

// A result that must be a finite number: NaN is an invalid operation and an
// infinity an overflow.
inline double Checked(double x) {
    if (std::isnan(x))
        RaiseFault(FaultKind::InvalidOperation);
    if (std::isinf(x))
        RaiseFault(FaultKind::Overflow);
    return x;
}

// a / b, with division by zero raised.
inline double CheckedDivide(double a, double b) {
    if (b == 0.0)
        RaiseFault(FaultKind::DivisionByZero);
    return Checked(a / b);
}

// The whole message a stopped command shows.
std::string InterruptionText(const ArithmeticFault& fault);

// Faults nobody checked explicitly: a command clears the processor's
// floating-point exception flags when it starts, and every output point
// (a report line, a sheet value, a graph series) looks at them before it
// writes. A division by zero, an invalid operation or an overflow met since
// then stops the command there, so no NaN or infinity reaches what the
// person sees.
void ClearFloatingFlags();
// Raises the fault of the first flag set (division by zero, invalid
// operation, overflow), clearing all of them first.
void CheckFloatingFlags();

// Keeps the flags across code that is not the command's own arithmetic (a
// window painted while a dialog waits, a graph drawn): what that code sets is
// forgotten, and what the command had set stays.
class FloatingFlagsKept {
  public:
    FloatingFlagsKept();
    ~FloatingFlagsKept();
    FloatingFlagsKept(const FloatingFlagsKept&) = delete;
    FloatingFlagsKept& operator=(const FloatingFlagsKept&) = delete;

  private:
    int saved_;
};

}  // namespace dalvex
