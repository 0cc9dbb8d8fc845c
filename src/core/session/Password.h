#pragma once
#include <QString>

namespace gz {

// The stored form of an operator's password: blanks around it are removed, then each character
// is shifted by an offset that depends on its position and written twice.
QString encodePassword(const QString& plain);

} // namespace gz
