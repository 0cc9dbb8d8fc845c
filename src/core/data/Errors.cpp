#include "core/data/Errors.h"

#include <limits>
#include <new>
#include <typeinfo>

namespace gz {

QString categoryText(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::Conversion:
        return QStringLiteral("输入的数据类型错误");
    case ErrorKind::IntDivZero:
        return QStringLiteral("整数除0溢出");
    case ErrorKind::IntOverflow:
        return QStringLiteral("整数溢出 ");
    case ErrorKind::RangeCheck:
        return QStringLiteral("整数越界");
    case ErrorKind::IntOther:
        return QStringLiteral("整数计算异常(基类)");
    case ErrorKind::FloatInvalid:
        return QStringLiteral("无效浮点操作指令");
    case ErrorKind::FloatOverflow:
        return QStringLiteral("浮点操作上溢");
    case ErrorKind::FloatUnderflow:
        return QStringLiteral("浮点操作下溢");
    case ErrorKind::FloatDivZero:
        return QStringLiteral("浮点计算除0");
    case ErrorKind::FloatOther:
        return QStringLiteral("浮点数计算异常(基类)");
    case ErrorKind::InvalidCast:
        return QStringLiteral("类型转换异常");
    case ErrorKind::Database:
        return QStringLiteral("数据库错误");
    case ErrorKind::FileOpen:
        return QStringLiteral("文件不能打开");
    case ErrorKind::AccessViolation:
        return QStringLiteral("访问了无效的内存区域!");
    case ErrorKind::Other:
        break;
    }
    return QStringLiteral("系统错误!");
}

Error::Error(ErrorKind kind, const QString& message)
    : std::runtime_error(message.toStdString()), kind_(kind), message_(message) {}

ClassifiedError classify(std::exception_ptr e) {
    if (!e) return {ErrorKind::Other, QString()};
    try {
        std::rethrow_exception(e);
    } catch (const Error& err) {
        return {err.kind(), err.message()};
    } catch (const std::bad_cast& err) {
        return {ErrorKind::InvalidCast, QString::fromLocal8Bit(err.what())};
    } catch (const std::out_of_range& err) {
        return {ErrorKind::RangeCheck, QString::fromLocal8Bit(err.what())};
    } catch (const std::overflow_error& err) {
        return {ErrorKind::IntOverflow, QString::fromLocal8Bit(err.what())};
    } catch (const std::underflow_error& err) {
        return {ErrorKind::FloatUnderflow, QString::fromLocal8Bit(err.what())};
    } catch (const std::invalid_argument& err) {
        return {ErrorKind::Conversion, QString::fromLocal8Bit(err.what())};
    } catch (const std::bad_alloc& err) {
        return {ErrorKind::Other, QString::fromLocal8Bit(err.what())};
    } catch (const std::exception& err) {
        return {ErrorKind::Other, QString::fromLocal8Bit(err.what())};
    } catch (...) {
        return {ErrorKind::Other, QString()};
    }
}

qint64 checkedDiv(qint64 a, qint64 b) {
    if (b == 0) throw Error(ErrorKind::IntDivZero, QStringLiteral("Division by zero"));
    if (a == std::numeric_limits<qint64>::min() && b == -1)
        throw Error(ErrorKind::IntOverflow, QStringLiteral("Integer overflow"));
    return a / b;
}

qint64 checkedAdd(qint64 a, qint64 b) {
    qint64 r;
    if (__builtin_add_overflow(a, b, &r))
        throw Error(ErrorKind::IntOverflow, QStringLiteral("Integer overflow"));
    return r;
}

qint64 checkedMul(qint64 a, qint64 b) {
    qint64 r;
    if (__builtin_mul_overflow(a, b, &r))
        throw Error(ErrorKind::IntOverflow, QStringLiteral("Integer overflow"));
    return r;
}

} // namespace gz
