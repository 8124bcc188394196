#include "exchange/VcardLine.h"

#include <QStringConverter>
#include <algorithm>
#include <climits>

#include "exchange/CsvReader.h"
#include "platform/Ansi.h"
#include "store/FileError.h"

namespace tandor {
namespace {

constexpr qint64 kBlock = 64 * 1024;

bool isSpaceOrTab(int c) {
    return c == ' ' || c == '\t';
}

}  // namespace

char vcardAsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// Whether `text` is `upper` (written in upper case) in any case of ASCII.
bool vcardIsAnyCase(QByteArrayView text, QByteArrayView upper) {
    if (text.size() != upper.size()) {
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (vcardAsciiUpper(text[i]) != upper[i]) {
            return false;
        }
    }
    return true;
}

namespace {

// The values whose content is passed over unread.
bool isBinaryProperty(QByteArrayView name) {
    return vcardIsAnyCase(name, "PHOTO") || vcardIsAnyCase(name, "LOGO") ||
           vcardIsAnyCase(name, "SOUND") || vcardIsAnyCase(name, "KEY");
}

// Whether a line can be part of base64 data: letters, digits, "+", "/", "="
// and white space only.
bool isBase64Text(QByteArrayView line) {
    return std::all_of(line.begin(), line.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '+' || c == '/' || c == '=' || isSpaceOrTab(c);
    });
}

}  // namespace

// Where the property's value begins: the position of the ":" after its name
// and parameters (a ":" inside a quoted parameter value does not count), or -1.
qsizetype vcardValueColon(QByteArrayView line) {
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ':' && !quoted) {
            return i;
        }
    }
    return -1;
}

namespace {

// The name part of a line ("item1.ADR"), up to its first ";" or ":".
QByteArrayView namePart(QByteArrayView line) {
    qsizetype end = 0;
    while (end < line.size() && line[end] != ';' && line[end] != ':') {
        ++end;
    }
    return line.first(end);
}

QByteArrayView withoutGroup(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.sliced(dot + 1);
}

bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

bool validName(QByteArrayView name) {
    if (name.isEmpty()) {
        return false;
    }
    for (const char c : name) {
        if (!isNameChar(c)) {
            return false;
        }
    }
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

QByteArray quotedPrintableDecoded(QByteArrayView bytes) {
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '=' && i + 2 < bytes.size() && hexValue(bytes[i + 1]) >= 0 &&
            hexValue(bytes[i + 2]) >= 0) {
            out.append(static_cast<char>(hexValue(bytes[i + 1]) * 16 + hexValue(bytes[i + 2])));
            i += 2;
        } else if (bytes[i] == '=' && i + 1 == bytes.size()) {
            // A soft line break at the very end.
        } else {
            out.append(bytes[i]);
        }
    }
    return out;
}

// Text in a code page whose bytes Windows-1252 reads the same way.
bool isWindows1252Like(const QByteArray& charset) {
    for (const char* name : {"WINDOWS-1252", "CP1252", "ISO-8859-1", "ISO8859-1", "LATIN1",
                             "LATIN-1", "US-ASCII", "ASCII"}) {
        if (charset == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool vcardIsAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

namespace {

QString decodedText(QByteArrayView bytes, const QByteArray& charset) {
    if (charset.isEmpty() && vcardIsAscii(bytes)) {
        return QString::fromLatin1(bytes);  // what UTF-8 and Windows-1252 read alike
    }
    const QByteArray name = charset.toUpper();
    if (name == "UTF-8" || name == "UTF8") {
        return QString::fromUtf8(bytes);
    }
    if (isWindows1252Like(name)) {
        return fromAnsi(bytes);
    }
    if (!name.isEmpty()) {
        QStringDecoder decoder(name.constData());
        if (decoder.isValid()) {
            return QString(decoder.decode(bytes));
        }
    }
    return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : fromAnsi(bytes);
}

// A name in upper case: the same text as `known` when it is one of them
// (shared, not copied), else a new one.
QByteArray upperName(QByteArrayView name, std::initializer_list<const QByteArray*> known) {
    for (const QByteArray* k : known) {
        if (vcardIsAnyCase(name, *k)) {
            return *k;
        }
    }
    return name.toByteArray().toUpper();
}

const QByteArray& parameterName(int which) {
    static const QByteArray names[] = {"TYPE", "ENCODING", "CHARSET", "PREF", "VALUE"};
    return names[which];
}

QByteArray upperParameterName(QByteArrayView name) {
    return upperName(name, {&parameterName(0), &parameterName(1), &parameterName(2),
                            &parameterName(3), &parameterName(4)});
}

}  // namespace

// Reads a line as a property: name, parameters and the value's bytes.
// Returns false for a line that is no property. The value is decoded only
// when `decodeValue` is set. `knownName`, when set, is the property's name in
// upper case.
bool readVcardProperty(QByteArrayView line, VcardProperty& property, bool decodeValue,
                       const QByteArray* knownName) {
    const QByteArrayView fullName = namePart(line);
    const qsizetype dot = fullName.lastIndexOf('.');
    const QByteArrayView name = withoutGroup(fullName);
    if (!validName(name) || (dot >= 0 && !validName(fullName.first(dot)))) {
        return false;
    }
    const qsizetype colon = vcardValueColon(line);
    if (colon < fullName.size()) {
        return false;
    }
    property.name = knownName ? *knownName : name.toByteArray().toUpper();
    property.group = dot < 0 ? QByteArray() : fullName.first(dot).toByteArray().toUpper();
    property.params.clear();
    // The parameters: ";" separated, between the name and the colon.
    qsizetype at = fullName.size();
    while (at < colon && line[at] == ';') {
        ++at;
        const qsizetype begin = at;
        bool quoted = false;
        while (at < colon && (quoted || line[at] != ';')) {
            if (line[at] == '"') {
                quoted = !quoted;
            }
            ++at;
        }
        const QByteArrayView param = line.sliced(begin, at - begin);
        const qsizetype equals = param.indexOf('=');
        QByteArray key;
        QByteArray value;
        if (equals < 0) {
            const QByteArrayView bare = param.trimmed();
            value = bare.toByteArray();
            key = (vcardIsAnyCase(bare, "QUOTED-PRINTABLE") || vcardIsAnyCase(bare, "BASE64") ||
                   vcardIsAnyCase(bare, "8BIT") || vcardIsAnyCase(bare, "7BIT"))
                      ? parameterName(1)
                      : parameterName(0);
        } else {
            key = upperParameterName(param.first(equals).trimmed());
            value = param.sliced(equals + 1).trimmed().toByteArray();
        }
        if (value.contains('"')) {
            value.replace('"', QByteArray());
        }
        if (!key.isEmpty() || !value.isEmpty()) {
            property.params.append({key, value});
        }
    }
    if (!decodeValue) {
        property.value.clear();
        return true;
    }
    const QByteArrayView raw = line.sliced(colon + 1);
    const QByteArray encoding = property.param("ENCODING");
    QByteArray decoded;
    QByteArrayView bytes = raw;
    if (vcardIsAnyCase(encoding, "QUOTED-PRINTABLE")) {
        decoded = quotedPrintableDecoded(raw);
        bytes = decoded;
    } else if (vcardIsAnyCase(encoding, "B") || vcardIsAnyCase(encoding, "BASE64")) {
        bytes = {};  // binary content is not read as text
    }
    property.value = decodedText(bytes, property.param("CHARSET"));
    return true;
}

// Splits at the separator where it is not escaped; escapes stay in the parts.
QStringList vcardSplit(const QString& value, QChar separator) {
    QStringList parts;
    parts.reserve(value.count(separator) + 1);
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            ++i;
        } else if (c == separator) {
            parts.append(value.sliced(start, i - start));
            start = i + 1;
        }
    }
    parts.append(value.sliced(start));
    return parts;
}

namespace {

// Whether `word` (in upper case) is in the text, in any case.
bool containsAnyCase(QByteArrayView text, QByteArrayView word) {
    for (qsizetype i = 0; i + word.size() <= text.size(); ++i) {
        if ((text[i] & ~0x20) == word[0] &&
            text.sliced(i, word.size()).compare(word, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool VcardProperty::hasType(const char* type) const {
    const QByteArrayView wanted(type);
    for (const auto& [key, value] : params) {
        if (QByteArrayView(key) != QByteArrayView("TYPE")) {
            continue;
        }
        QByteArrayView rest(value);
        while (true) {
            const qsizetype comma = rest.indexOf(',');
            const QByteArrayView item = comma < 0 ? rest : rest.first(comma);
            const QByteArrayView trimmed = item.trimmed();
            if (trimmed.size() == wanted.size() &&
                trimmed.compare(wanted, Qt::CaseInsensitive) == 0) {
                return true;
            }
            if (comma < 0) {
                break;
            }
            rest = rest.sliced(comma + 1);
        }
    }
    return false;
}

int VcardProperty::preference() const {
    for (const auto& [key, value] : params) {
        if (QByteArrayView(key) == QByteArrayView("PREF")) {
            bool ok = false;
            const int n = value.toInt(&ok);
            return ok && n > 0 ? std::min(n, INT_MAX - 1) : 1;
        }
    }
    return hasType("PREF") ? 1 : INT_MAX;
}

QByteArray VcardProperty::param(const char* name) const {
    for (const auto& [key, value] : params) {
        if (key == name) {
            return value;
        }
    }
    return {};
}

bool VcardLineReader::fill() {
    if (deviceDone_) {
        return false;
    }
    buffer_.remove(0, pos_);
    pos_ = 0;
    QByteArray block = device_.read(kBlock);
    if (block.isEmpty()) {
        if (device_.atEnd() || !device_.isOpen()) {
            deviceDone_ = true;
            if (utf16_) {
                buffer_ += QString(utf16_->decode(QByteArray())).toUtf8();
            }
            return false;
        }
        throw fileerror::make(errors::kDeviceIo);
    }
    if (!started_) {
        started_ = true;
        if (block.startsWith("\xFF\xFE")) {
            utf16_.emplace(QStringConverter::Utf16LE);
            block.remove(0, 2);
        } else if (block.startsWith("\xFE\xFF")) {
            utf16_.emplace(QStringConverter::Utf16BE);
            block.remove(0, 2);
        } else if (block.startsWith("\xEF\xBB\xBF")) {
            block.remove(0, 3);
        }
    }
    if (utf16_) {
        block = QString(utf16_->decode(block)).toUtf8();
    }
    buffer_ += block;
    return true;
}

int VcardLineReader::peekByte() {
    if (pendingLine_) {
        return pendingLine_->isEmpty() ? '\n' : static_cast<unsigned char>(pendingLine_->at(0));
    }
    while (pos_ >= buffer_.size()) {
        if (!fill()) {
            return -1;
        }
    }
    return static_cast<unsigned char>(buffer_[pos_]);
}

bool VcardLineReader::readPhysical(QByteArray& line, qsizetype limit) {
    if (pendingLine_) {
        const QByteArray pending = *pendingLine_;
        pendingLine_.reset();
        line += pending.left(std::max<qsizetype>(0, limit - line.size()));
        kept_ += std::exchange(pendingBytes_, QByteArray());
        return true;
    }
    bool any = false;
    while (true) {
        if (pos_ >= buffer_.size() && !fill()) {
            return any;
        }
        any = true;
        qsizetype end = pos_;
        const qsizetype size = buffer_.size();
        const char* data = buffer_.constData();
        while (end < size && data[end] != '\n' && data[end] != '\r') {
            ++end;
        }
        const qsizetype room = std::max<qsizetype>(0, limit - line.size());
        line.append(data + pos_, std::min(room, end - pos_));
        if (keepBytes_) {
            kept_.append(data + pos_, std::min(end + 1, size) - pos_);
        }
        if (end == size) {
            pos_ = end;
            continue;
        }
        const char ending = data[end];
        pos_ = end + 1;
        if (ending == '\r' && peekByte() == '\n') {
            ++pos_;
            if (keepBytes_) {
                kept_ += '\n';
            }
        }
        return true;
    }
}

bool VcardLineReader::next(QByteArray& line) {
    line.resize(0);  // keeps its room for the next line
    do {
        if (!readPhysical(line, kMaxLineBytes)) {
            return false;
        }
    } while (line.isEmpty());
    // The name and parameters may be folded like the value: what depends on
    // them is settled once the line's colon has been read.
    qsizetype colon = -1;
    bool quotedPrintable = false;
    bool unindentedBase64 = false;
    qsizetype limit = kMaxLineBytes;
    const auto settle = [&] {
        if (colon >= 0 || (colon = vcardValueColon(line)) < 0) {
            return;
        }
        const QByteArrayView head = QByteArrayView(line).first(colon);
        quotedPrintable = containsAnyCase(head, "QUOTED-PRINTABLE");
        if (isBinaryProperty(withoutGroup(namePart(head)))) {
            line.truncate(colon + 1);
            limit = line.size();
            // Only vCard 2.1 writes inline base64 on lines that are not
            // indented; in 3.0 and 4.0, and for a 2.1 URL, an unindented line
            // is the next property, wherever it was folded.
            unindentedBase64 = base64Lines_ && containsAnyCase(head, "BASE64");
        }
    };
    settle();
    while (true) {
        const int c = peekByte();
        if (quotedPrintable && line.endsWith('=')) {
            // A soft line break: the next line goes on with the value, its
            // leading spaces included.
            line.chop(1);
            if (c == '\n' || c == '\r' || c < 0) {
                break;  // the soft break leads to an empty line: the value ends
            }
            readPhysical(line, limit);
        } else if (isSpaceOrTab(c)) {
            QByteArray rest;
            readPhysical(rest, limit);
            line += rest.mid(1).left(std::max<qsizetype>(0, limit - line.size()));
            settle();
        } else if (unindentedBase64 && c >= 0) {
            // The base64 lines hold no ":" and end at an empty line; a line
            // with a character base64 never writes is a property of its own.
            const qsizetype keptBefore = kept_.size();
            QByteArray next;
            readPhysical(next, kMaxLineBytes);
            if (next.isEmpty()) {
                break;
            }
            if (!isBase64Text(next)) {
                pendingLine_ = next;
                pendingBytes_ = kept_.sliced(keptBefore);
                kept_.truncate(keptBefore);
                break;
            }
        } else {
            break;
        }
    }
    return true;
}

QByteArrayView vcardLineName(QByteArrayView line) {
    return withoutGroup(namePart(line));
}

QStringList vcardComponents(const QString& value) {
    QStringList parts = vcardSplit(value, u';');
    for (QString& part : parts) {
        part = vcardText(part);
    }
    return parts;
}

QList<QStringList> vcardComponentLists(const QString& value) {
    QList<QStringList> lists;
    for (const QString& component : vcardSplit(value, u';')) {
        lists.append(vcardListItems(component));
    }
    return lists;
}

QStringList vcardListItems(const QString& value) {
    QStringList items = vcardSplit(value, u',');
    for (QString& item : items) {
        item = vcardText(item);
    }
    return items;
}

QString vcardText(const QString& value) {
    if (!value.contains(u'\\')) {
        return value;
    }
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar e = value[i + 1];
        if (e == u'n' || e == u'N') {
            out += u'\n';
            ++i;
        } else if (e == u',' || e == u';' || e == u':' || e == u'\\') {
            out += e;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString vcardEscaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u',' || c == u';') {
            out += u'\\';
            out += c;
        } else if (c == u'\r') {
            out += QLatin1String("\\n");
            if (i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
        } else if (c == u'\n') {
            out += QLatin1String("\\n");
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tandor
