#include "exchange/CsvReader.h"

#include "platform/Ansi.h"
#include "platform/FaultPoint.h"
#include "store/FileError.h"

namespace tandor {
namespace {

constexpr qint64 kBlockSize = 64 * 1024;

// The length of the sequence a lead byte starts, 0 for a byte that cannot lead.
int sequenceLength(unsigned char b) {
    if (b < 0x80) {
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        return 2;
    }
    if (b >= 0xE0 && b <= 0xEF) {
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        return 4;
    }
    return 0;
}

// Where the last, possibly incomplete, sequence of a block begins: the bytes
// from there on are carried over to the next block.
qsizetype completePrefixLength(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= n; ++back) {
        const auto b = static_cast<unsigned char>(bytes[n - back]);
        if ((b & 0xC0) != 0x80) {  // a lead byte (or ASCII)
            const int len = sequenceLength(b);
            return len > back ? n - back : n;
        }
    }
    return n;
}

void readFailure() {
    throw fileerror::make(errors::kDeviceIo);
}

QByteArray readBlock(QIODevice& device) {
    fault::hit("import.read");
    QByteArray block(kBlockSize, Qt::Uninitialized);
    const qint64 got = device.read(block.data(), block.size());
    if (got < 0) {
        readFailure();
    }
    block.resize(got);
    return block;
}

QStringConverter::Encoding converterFor(CsvEncoding encoding) {
    switch (encoding) {
        case CsvEncoding::Utf16LE:
            return QStringConverter::Utf16LE;
        case CsvEncoding::Utf16BE:
            return QStringConverter::Utf16BE;
        default:
            return QStringConverter::Utf8;
    }
}

}  // namespace

bool isValidUtf8(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const int len = sequenceLength(b);
        if (len == 0 || i + len > n) {
            return false;
        }
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        // The second byte's range excludes overlong forms, surrogates and
        // values past U+10FFFF.
        unsigned char lo = 0x80;
        unsigned char hi = 0xBF;
        if (b == 0xE0) {
            lo = 0xA0;
        } else if (b == 0xED) {
            hi = 0x9F;
        } else if (b == 0xF0) {
            lo = 0x90;
        } else if (b == 0xF4) {
            hi = 0x8F;
        }
        if (b1 < lo || b1 > hi) {
            return false;
        }
        for (int k = 2; k < len; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += len;
    }
    return true;
}

DetectedEncoding detectEncoding(QIODevice& device) {
    if (!device.seek(0)) {
        readFailure();
    }
    DetectedEncoding found;
    const QByteArray start = device.peek(3);
    if (start.startsWith("\xFF\xFE")) {
        found = {CsvEncoding::Utf16LE, 2};
    } else if (start.startsWith("\xFE\xFF")) {
        found = {CsvEncoding::Utf16BE, 2};
    } else {
        found.bomLength = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        found.encoding = CsvEncoding::Utf8;
        QByteArray carry;
        bool first = true;
        for (;;) {
            QByteArray block = readBlock(device);
            if (first) {
                block.remove(0, found.bomLength);
                first = false;
            }
            if (block.isEmpty()) {
                if (!isValidUtf8(carry)) {
                    found.encoding = CsvEncoding::Windows1252;
                }
                break;
            }
            carry.append(block);
            const qsizetype whole = completePrefixLength(carry);
            if (!isValidUtf8(QByteArrayView(carry).first(whole))) {
                found.encoding = CsvEncoding::Windows1252;
                break;
            }
            carry.remove(0, whole);
        }
    }
    if (!device.seek(0)) {
        readFailure();
    }
    return found;
}

CsvReader::CsvReader(QIODevice& device) : device_(device) {
    const DetectedEncoding detected = detectEncoding(device);
    encoding_ = detected.encoding;
    if (encoding_ != CsvEncoding::Windows1252) {
        decoder_ = QStringDecoder(converterFor(encoding_));
    }
    bomLength_ = detected.bomLength;
    if (bomLength_ > 0 && !device_.seek(bomLength_)) {
        readFailure();
    }
}

void CsvReader::restart(QChar separator) {
    if (!device_.seek(bomLength_)) {
        readFailure();
    }
    separator_ = separator;
    if (encoding_ != CsvEncoding::Windows1252) {
        decoder_ = QStringDecoder(converterFor(encoding_));
    }
    text_.clear();
    pos_ = 0;
    deviceDone_ = false;
    skipLineFeed_ = false;
    quoted_.clear();
    quotesOff_ = false;
}

QChar separatorOfHeader(const QStringList& readWithCommas) {
    qsizetype semicolons = 0;
    for (const QString& value : readWithCommas) {
        semicolons += value.count(u';');
    }
    return semicolons > readWithCommas.size() - 1 ? QChar(u';') : QChar(u',');
}

bool CsvReader::fillText() {
    if (deviceDone_) {
        return false;
    }
    const QByteArray block = readBlock(device_);
    if (block.isEmpty()) {
        deviceDone_ = true;
        return false;
    }
    text_ = encoding_ == CsvEncoding::Windows1252 ? fromAnsi(block) : decoder_.decode(block);
    pos_ = 0;
    return true;
}

void CsvReader::endValue() {
    values_.append(value_);
    value_.clear();
    ++recordChars_;
}

std::optional<QStringList> CsvReader::next() {
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };
    State state = State::FieldStart;
    bool anything = false;
    values_.clear();
    value_.clear();
    recordChars_ = 0;

    auto append = [this](QChar c) {
        if (recordChars_ < kMaxRecordChars) {
            value_.append(c);
            ++recordChars_;
        }
    };

    // An unclosed quote: the value so far is dropped and the text from the
    // quote on is read again, the quote as an ordinary character.
    auto reopenQuote = [&] {
        text_ = quoted_ + text_.mid(pos_);
        pos_ = 1;
        quoted_.clear();
        quotesOff_ = true;
        value_.clear();
        recordChars_ = charsBeforeQuote_;
        append(u'"');
        state = State::Unquoted;
    };

    for (;;) {
        if (pos_ >= text_.size()) {
            if (!fillText()) {
                if (state == State::Quoted) {
                    reopenQuote();
                    continue;
                }
                break;
            }
            continue;
        }
        const QChar c = text_[pos_++];
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (c == u'\n') {
                continue;
            }
        }
        anything = true;
        if (state == State::Quoted) {
            if (quoted_.size() > kMaxRecordChars) {
                --pos_;
                reopenQuote();
                continue;
            }
            quoted_.append(c);
            if (c == u'"') {
                state = State::QuoteInQuoted;
            } else {
                append(c);
            }
            continue;
        }
        if (state == State::QuoteInQuoted && c != u'"') {
            quoted_.clear();  // the quote closed
        }
        if (c == separator_) {
            // Past the bound the commas are dropped with the rest of the text.
            if (recordChars_ < kMaxRecordChars) {
                endValue();
            }
            state = State::FieldStart;
        } else if (c == u'\r' || c == u'\n') {
            skipLineFeed_ = c == u'\r';
            endValue();
            return values_;
        } else if (c == u'"' && state == State::FieldStart && !quotesOff_) {
            quoted_ = c;
            charsBeforeQuote_ = recordChars_;
            state = State::Quoted;
        } else if (c == u'"' && state == State::QuoteInQuoted) {
            quoted_.append(c);
            append(c);
            state = State::Quoted;
        } else {
            append(c);
            state = State::Unquoted;
        }
    }
    if (!anything) {
        return std::nullopt;
    }
    endValue();
    return values_;
}

}  // namespace tandor
