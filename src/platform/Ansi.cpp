#include "platform/Ansi.h"

#include <algorithm>
#include <array>

namespace tandor {
namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined bytes.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

}  // namespace

char ansiByte(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return static_cast<char>(u);
    }
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        const char16_t mapped = kHighTable[i] != 0 ? kHighTable[i] : static_cast<char16_t>(0x80 + i);
        if (mapped == u) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

QByteArray toAnsi(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    out.truncate(toAnsiInto(text, out.data(), out.size()));
    return out;
}

qsizetype toAnsiInto(QStringView text, char* out, qsizetype room) {
    qsizetype written = 0;
    for (qsizetype i = 0; i < text.size() && written < room; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;  // one character outside the code page
            out[written++] = '?';
            continue;
        }
        out[written++] = ansiByte(c);
    }
    return written;
}

bool isControl(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x100) {
        return u < 0x20 || (u >= 0x7F && u <= 0x9F);
    }
    return c.category() == QChar::Other_Control;
}

QString controlsAsSpaces(QString text) {
    const auto first = std::find_if(text.cbegin(), text.cend(), isControl);
    if (first == text.cend()) {
        return text;  // left shared
    }
    for (qsizetype i = first - text.cbegin(); i < text.size(); ++i) {
        if (isControl(text[i])) {
            text[i] = u' ';
        }
    }
    return text;
}

qsizetype characterCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        }
        ++count;
    }
    return count;
}

QString upperCaseKept(QStringView text) {
    QString out = text.toString();
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c.unicode() < 0x80) {
            if (c >= u'a' && c <= u'z') {
                out[i] = QChar(c.unicode() - 0x20);
            }
            continue;
        }
        if (c.isSurrogate()) {
            continue;  // outside the code page: stored as "?" whatever its case
        }
        const QString upper = QString(c).toUpper();
        if (upper.size() == 1 && (ansiByte(upper[0]) != '?' || upper[0] == u'?')) {
            out[i] = upper[0];
        }
    }
    return out;
}

QString fromAnsi(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && b <= 0x9F && kHighTable[b - 0x80] != 0) {
            d[i] = QChar(kHighTable[b - 0x80]);
        } else {
            d[i] = QChar(b);
        }
    }
    return out;
}

}  // namespace tandor
