#include "exchange/VcardReader.h"

#include <QStringConverter>

namespace tandor {

bool VcardCard::readable() const {
    const bool knownVersion =
        version.isEmpty() || version == "2.1" || version == "3.0" || version == "4.0";
    return propertyLines > 0 && knownVersion;
}

bool isVcard(QIODevice& device) {
    QByteArray head = device.peek(4096);
    QString text;
    if (head.startsWith("\xFF\xFE")) {
        text = QString(QStringDecoder(QStringConverter::Utf16LE).decode(head.mid(2)));
    } else if (head.startsWith("\xFE\xFF")) {
        text = QString(QStringDecoder(QStringConverter::Utf16BE).decode(head.mid(2)));
    } else {
        if (head.startsWith("\xEF\xBB\xBF")) {
            head.remove(0, 3);
        }
        text = QString::fromLatin1(head);
    }
    qsizetype i = 0;
    while (i < text.size() &&
           (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\r' || text[i] == u'\n')) {
        ++i;
    }
    // The whole first line: a CSV file whose first cell reads "BEGIN:VCARD"
    // stays a CSV file.
    qsizetype end = i;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') {
        ++end;
    }
    const QStringView line = QStringView(text).sliced(i, end - i);
    return line.trimmed().compare(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive) == 0;
}

VcardReader::VcardReader(QIODevice& device, QSet<QByteArray> keep)
    : lines_(device), keep_(std::move(keep)) {}

const QByteArray* VcardReader::kept(QByteArrayView name) const {
    if (keep_.isEmpty()) {
        return nullptr;
    }
    // Names are looked up in upper case, made on the stack when they are
    // short and plain ASCII.
    char upper[64];
    QByteArray key;
    if (name.size() <= static_cast<qsizetype>(sizeof upper) && vcardIsAscii(name)) {
        for (qsizetype i = 0; i < name.size(); ++i) {
            upper[i] = vcardAsciiUpper(name[i]);
        }
        key = QByteArray::fromRawData(upper, name.size());
    } else {
        key = name.toByteArray().toUpper();
    }
    const auto found = keep_.constFind(key);
    return found == keep_.cend() ? nullptr : &*found;
}

std::optional<VcardCard> VcardReader::next() {
    VcardCard card;
    card.properties.reserve(16);
    lines_.setBase64Lines(true);  // vCard 2.1 unless the card names another version
    bool inCard = beginPending_;
    beginPending_ = false;
    QByteArray line;
    VcardProperty property;
    // vCard 2.1 writes an agent's card inside the card, after an "AGENT:" line
    // of no value; it is passed over and the card goes on after it.
    bool agentFollows = false;
    bool inAgent = false;
    while (lines_.next(line)) {
        const QByteArrayView name = vcardLineName(line);
        const bool begin = vcardIsAnyCase(name, "BEGIN");
        const bool end = vcardIsAnyCase(name, "END");
        const bool agentLine = agentFollows;
        agentFollows = false;
        if (begin || end) {
            const qsizetype colon = vcardValueColon(line);
            const bool vcard =
                colon >= 0 &&
                vcardIsAnyCase(QByteArrayView(line).sliced(colon + 1).trimmed(), "VCARD");
            if (!vcard) {
                continue;
            }
            if (begin && inCard && agentLine) {
                inAgent = true;
                continue;
            }
            if (end && inAgent) {
                inAgent = false;
                continue;
            }
            if (begin && inCard) {
                beginPending_ = true;  // the card before never ended
                return card;
            }
            if (begin) {
                inCard = true;
                continue;
            }
            if (inCard) {
                card.ended = true;
                return card;
            }
            continue;
        }
        if (!inCard || inAgent) {
            continue;
        }
        if (vcardIsAnyCase(name, "AGENT")) {
            const qsizetype colon = vcardValueColon(line);
            agentFollows = colon >= 0 && QByteArrayView(line).sliced(colon + 1).trimmed().isEmpty();
        }
        const QByteArray* keptName = kept(name);
        const bool isVersion = vcardIsAnyCase(name, "VERSION");
        const bool wanted = keep_.isEmpty() || keptName || isVersion;
        if (!readVcardProperty(line, property, wanted, keptName)) {
            continue;
        }
        ++card.propertyLines;
        if (property.name == "VERSION") {
            card.version = property.value.trimmed().toLatin1();
            lines_.setBase64Lines(card.version == "2.1");
        }
        if (wanted && card.properties.size() < static_cast<size_t>(kMaxProperties)) {
            card.properties.push_back(std::move(property));
        }
    }
    if (inCard) {
        return card;
    }
    return std::nullopt;
}

}  // namespace tandor
