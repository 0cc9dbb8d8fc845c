#include "core/session/Password.h"

#include <cstdint>

namespace gz {

namespace {
// 32-bit signed arithmetic with wrap-around, as the stored passwords were made with.
std::int32_t wrap(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}
} // namespace

QString encodePassword(const QString& plain) {
    const QString p = plain.trimmed();
    QString out;
    out.reserve(p.size() * 2);
    for (int k = 0; k < p.size(); ++k) {
        const std::int32_t i = k + 1;
        const std::int32_t i2 = wrap(std::int64_t(i) * i);
        const std::int32_t i4 = wrap(std::int64_t(i2) * i2);
        const std::int32_t offset = wrap(std::int64_t(i4 % (i + 30)) + (i2 % (i + 20)) + 3 * i + 1);
        const int c = p.at(k).unicode() & 0xFF; // passwords are single-byte characters
        const int e = (c + offset) & 0xFF;
        out += QChar(e);
        out += QChar(e);
    }
    return out;
}

} // namespace gz
