#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <optional>
#include <vector>

#include "exchange/VcardLine.h"

namespace tandor::sync {

// One logical line of a card: its bytes as they came (folded, with the line
// end) and the property read from it. A line changed by the merge is written
// anew from `prefix` and `value`.
struct CardLine {
    QByteArray bytes;
    QByteArray text;  // unfolded, without its line end
    std::optional<VcardProperty> property;
    QByteArray prefix;  // "item1.TEL;TYPE=HOME", what stands before the value's ":"
    bool changed = false;
    bool removed = false;
    QString value;  // the new value, escaped, when changed
};

// A card as lines to edit, read with the import's line reading
// (VcardLineReader, readVcardProperty). Lines left alone are written back
// byte for byte.
class CardLines {
public:
    explicit CardLines(const QByteArray& card);

    std::vector<CardLine>& lines() { return lines_; }
    const std::vector<CardLine>& lines() const { return lines_; }
    // The card's VERSION, "3.0" when it names none.
    const QByteArray& version() const { return version_; }

    // The lines that hold the property, in order.
    std::vector<int> named(QByteArrayView name) const;
    // The first of them, -1 when none.
    int first(QByteArrayView name) const;

    // A property's current value (escaped): the new one once changed.
    QString value(int i) const;
    // Gives the line a new value (escaped). A value written anew is plain
    // UTF-8 text: the encoding and the character set it was read in go.
    void set(int i, const QString& escapedValue);
    // Gives the line a new value and parameters: `prefix` is what stands
    // before the value's ":".
    void rewrite(int i, const QByteArray& prefix, const QString& escapedValue);
    // What stands before the line's value, written anew without the named
    // parameters.
    QByteArray prefixWithout(int i, std::initializer_list<QByteArrayView> params) const;
    void remove(int i) { lines_[i].removed = true; }
    // Adds a property before END:VCARD; returns its line.
    int add(const QByteArray& prefix, const QString& escapedValue);

    QByteArray bytes() const;

private:
    std::vector<CardLine> lines_;
    QByteArray version_ = "3.0";
};

// A structured value split at its unescaped semicolons, escapes kept.
QStringList rawComponents(const QString& value);

}  // namespace tandor::sync
