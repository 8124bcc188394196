#include "platform/Numbers.h"

#include <cmath>

#include "platform/AppError.h"

namespace tandor {

double leadingNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    double value = 0.0;
    bool anyDigit = false;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10.0 + (text[i].unicode() - u'0');
        anyDigit = true;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        double scale = 0.1;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            value += (text[i].unicode() - u'0') * scale;
            scale /= 10.0;
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    return negative ? -value : value;
}

long long roundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<long long>(std::nearbyint(value));  // default rounding mode: to nearest, ties to even
}

int toInt16(double value) {
    if (!std::isfinite(value) || value >= 32767.5 || value < -32768.5) {
        throw AppError(6, "Overflow");
    }
    return static_cast<int>(roundHalfEven(value));
}

bool readsAsNumber(QStringView text) {
    qsizetype i = 0;
    qsizetype n = text.size();
    while (i < n && text[i] == u' ') {
        ++i;
    }
    while (n > i && text[n - 1] == u' ') {
        --n;
    }
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        ++i;
    }
    bool anyDigit = false;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return anyDigit;
}

int leadingInt16(QStringView text) {
    return toInt16(leadingNumber(text));
}

QString shortestDecimal(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        return QString::number(static_cast<long long>(value));
    }
    return QString::number(value, 'g', 15);
}

}  // namespace tandor
