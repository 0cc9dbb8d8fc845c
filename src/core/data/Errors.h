#pragma once
// Typed errors of the system. Refusals of business rules are returned as values (their message
// text); everything here is an error that stops the operation and reaches the error dialog or the
// command line's exit code 3. Each kind maps to the category text the error log records.

#include <QString>
#include <exception>
#include <stdexcept>
#include <string>

namespace gz {

enum class ErrorKind {
    Conversion,     // text could not be converted to a number or date
    IntDivZero,     // integer division by zero
    IntOverflow,    // integer overflow
    RangeCheck,     // integer range check failed
    IntOther,       // any other integer arithmetic error
    FloatInvalid,   // invalid floating-point operation
    FloatOverflow,  // floating-point overflow
    FloatUnderflow, // floating-point underflow
    FloatDivZero,   // floating-point division by zero
    FloatOther,     // any other floating-point error
    InvalidCast,    // invalid type cast
    Database,       // database error
    FileOpen,       // a file could not be opened
    AccessViolation,
    Other,
};

// The category text shown as the error dialog's headline and stored in apperror.Kind.
QString categoryText(ErrorKind kind);

class Error : public std::runtime_error {
public:
    Error(ErrorKind kind, const QString& message);
    ErrorKind kind() const { return kind_; }
    QString message() const { return message_; }

private:
    ErrorKind kind_;
    QString message_;
};

// Convenience constructors for the kinds core raises itself.
inline Error conversionError(const QString& m) {
    return Error(ErrorKind::Conversion, m);
}
inline Error databaseError(const QString& m) {
    return Error(ErrorKind::Database, m);
}
inline Error fileError(const QString& m) {
    return Error(ErrorKind::FileOpen, m);
}

// Classifies any exception: our own errors by their kind, standard ones by their nearest kind.
struct ClassifiedError {
    ErrorKind kind;
    QString message;
};
ClassifiedError classify(std::exception_ptr e);

// Integer helpers that raise the typed errors instead of undefined behaviour.
qint64 checkedDiv(qint64 a, qint64 b);
qint64 checkedAdd(qint64 a, qint64 b);
qint64 checkedMul(qint64 a, qint64 b);

} // namespace gz
