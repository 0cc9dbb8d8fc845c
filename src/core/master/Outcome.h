#pragma once
// Refusals are values: a rule that says no hands back its fixed message text; errors (conversion,
// database, file) are thrown as gz::Error.

#include <QString>
#include <optional>
#include <utility>

namespace gz {

// The outcome of a check or command without a value: nothing when it went through, otherwise the
// message text to show. An empty text means the command stopped silently (as the window does when,
// for instance, a recalculation finds no line).
using Check = std::optional<QString>;

inline Check passed() {
    return std::nullopt;
}
inline Check refused(const QString& text) {
    return Check(text);
}
inline Check stoppedSilently() {
    return Check(QString());
}

// A value, or the refusal that prevented it.
template <class T> class Result {
public:
    Result(T value) : value_(std::move(value)) {} // NOLINT: implicit on purpose
    static Result refusedWith(const QString& text) {
        Result r;
        r.refusal_ = text;
        return r;
    }
    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *value_; }
    const QString& refusal() const { return refusal_; }
    Check check() const { return ok() ? passed() : refused(refusal_); }

private:
    Result() = default;
    std::optional<T> value_;
    QString refusal_;
};

} // namespace gz
