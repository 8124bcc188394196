#include "sync/CardLines.h"

#include <QBuffer>
#include <algorithm>

#include "exchange/VcardExport.h"

namespace tandor::sync {
namespace {

bool startsWithAnyCase(QByteArrayView text, QByteArrayView start) {
    return text.size() >= start.size() &&
           QByteArrayView(text.first(start.size())).compare(start, Qt::CaseInsensitive) == 0;
}

bool isCardFrame(QByteArrayView text) {
    return startsWithAnyCase(text, "BEGIN:") || startsWithAnyCase(text, "END:");
}

}  // namespace

CardLines::CardLines(const QByteArray& card) {
    QByteArray copy = card;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    VcardLineReader reader(buffer);
    reader.setKeepBytes(true);
    QByteArray text;
    while (reader.next(text)) {
        CardLine line{reader.takeBytes(), text, std::nullopt, {}, false, false, {}};
        const qsizetype colon = vcardValueColon(text);
        VcardProperty property;
        if (colon > 0 && !isCardFrame(text) && readVcardProperty(text, property)) {
            line.prefix = text.left(colon);
            if (property.name != "VERSION") {
                line.property = std::move(property);
            } else if (!property.value.trimmed().isEmpty()) {
                version_ = property.value.trimmed().toLatin1();
                reader.setBase64Lines(version_ == "2.1");
            }
        }
        lines_.push_back(std::move(line));
    }
    // Empty lines after the last one.
    const QByteArray rest = reader.takeBytes();
    if (!rest.isEmpty()) {
        if (lines_.empty()) {
            lines_.push_back(CardLine{rest, {}, std::nullopt, {}, false, false, {}});
        } else {
            lines_.back().bytes += rest;
        }
    }
}

std::vector<int> CardLines::named(QByteArrayView name) const {
    std::vector<int> found;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (!lines_[i].removed && lines_[i].property && lines_[i].property->name == name) {
            found.push_back(static_cast<int>(i));
        }
    }
    return found;
}

int CardLines::first(QByteArrayView name) const {
    const std::vector<int> found = named(name);
    return found.empty() ? -1 : found.front();
}

QString CardLines::value(int i) const {
    return lines_[i].changed ? lines_[i].value : lines_[i].property->value;
}

void CardLines::set(int i, const QString& escapedValue) {
    CardLine& line = lines_[i];
    line.changed = true;
    line.value = escapedValue;
    const QByteArray upper = line.prefix.toUpper();
    if (upper.contains("ENCODING") || upper.contains("CHARSET") ||
        upper.contains("QUOTED-PRINTABLE")) {
        line.prefix = prefixWithout(i, {"ENCODING", "CHARSET"});
    }
}

QByteArray CardLines::prefixWithout(int i, std::initializer_list<QByteArrayView> params) const {
    const VcardProperty& property = *lines_[i].property;
    QByteArray prefix = property.group.isEmpty() ? QByteArray() : property.group + '.';
    prefix += property.name;
    for (const auto& [name, paramValue] : property.params) {
        if (std::find(params.begin(), params.end(), QByteArrayView(name)) != params.end()) {
            continue;
        }
        const bool quote =
            paramValue.contains(':') || paramValue.contains(';') || paramValue.contains(',');
        prefix += ';' + name + '=' + (quote ? '"' + paramValue + '"' : paramValue);
    }
    return prefix;
}

void CardLines::rewrite(int i, const QByteArray& prefix, const QString& escapedValue) {
    set(i, escapedValue);
    lines_[i].prefix = prefix;
}

int CardLines::add(const QByteArray& prefix, const QString& escapedValue) {
    std::size_t at = lines_.size();
    for (std::size_t i = lines_.size(); i-- > 0;) {
        if (startsWithAnyCase(lines_[i].text, "END:VCARD")) {
            at = i;
            break;
        }
    }
    VcardProperty property;
    const qsizetype semicolon = prefix.indexOf(';');
    property.name = (semicolon < 0 ? prefix : prefix.left(semicolon)).toUpper();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  CardLine{{}, prefix, property, prefix, true, false, escapedValue});
    return static_cast<int>(at);
}

QByteArray CardLines::bytes() const {
    QByteArray out;
    for (const CardLine& line : lines_) {
        if (line.removed) {
            continue;
        }
        if (line.changed) {
            out += foldedLine(line.prefix + ':' + line.value.toUtf8());
        } else {
            out += line.bytes;
            if (!line.bytes.endsWith('\n') && !line.bytes.endsWith('\r')) {
                out += "\r\n";
            }
        }
    }
    return out;
}

QStringList rawComponents(const QString& value) {
    return vcardSplit(value, u';');
}

}  // namespace tandor::sync
