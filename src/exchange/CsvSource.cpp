// The CSV layouts as a contact source: the header recognised, then each line
// prepared, tested and taken by the layout's table and by name.
#include "exchange/ContactSource.h"
#include "exchange/CsvReader.h"
#include "exchange/ImportValues.h"
#include "exchange/NamedColumns.h"
#include "store/FileError.h"

namespace tandor {
namespace {

// The order of day and month that the dates of the lines left show; the
// reader is back at its first record afterwards.
DateOrder dateOrderOfFile(CsvReader& reader, const NamedColumns& named) {
    DateOrderEvidence evidence;
    while (const std::optional<QStringList> line = reader.next()) {
        for (const QString& date : named.dates(*line)) {
            evidence.see(date);
        }
    }
    reader.restart(reader.separator());
    return evidence.order();
}

class CsvSource final : public ContactSource {
public:
    explicit CsvSource(QIODevice& device) : reader_(device) {}

    std::optional<QString> recognise() override {
        header_ = reader_.next();
        if (!header_) {
            throw fileerror::make(errors::kInputPastEnd);
        }
        const QChar separator = separatorOfHeader(*header_);
        if (separator != reader_.separator()) {
            reader_.restart(separator);
            header_ = reader_.next();
        }
        layout_ = recogniseLayout(header_->join(QLatin1Char(',')));
        if (!layout_) {
            return std::nullopt;
        }
        return layout_->name;
    }

    bool prepare() override {
        columns_ = layout_->prepareHeader(*header_);
        if (!columns_) {
            return false;
        }
        if (layout_->namedColumns) {
            named_.emplace(*layout_->namedColumns, *header_);
            if (named_->readsDates()) {
                order_ = dateOrderOfFile(reader_, *named_);
                reader_.next();  // the header again
            }
        }
        columnsBefore_ = layout_->columnsBeforeHeader ? layout_->columnsBeforeHeader(*header_) : 0;
        return true;
    }

    std::optional<SourceItem> next() override {
        const std::optional<QStringList> read = reader_.next();
        if (!read) {
            return std::nullopt;
        }
        SourceItem item;
        const QStringList line = layout_->prepareLine(read->mid(columnsBefore_));
        if (layout_->skipLine(line, line.join(QLatin1Char(',')))) {
            item.kind = SourceItem::Kind::SkippedByLayout;
            return item;
        }
        item.values = takeValues(*layout_, *columns_, line);
        if (named_) {
            named_->take(layout_->prepareNamedLine ? layout_->prepareNamedLine(*read) : *read,
                         order_, item.values);
        }
        return item;
    }

    const CleaningRules& cleaning() const override { return layout_->cleaning; }
    bool needsName() const override { return layout_->needsName; }

private:
    CsvReader reader_;
    std::optional<QStringList> header_;
    const ImportLayout* layout_ = nullptr;
    std::optional<QStringList> columns_;
    std::optional<NamedColumns> named_;
    DateOrder order_ = DateOrder::MonthFirst;
    qsizetype columnsBefore_ = 0;
};

}  // namespace

std::unique_ptr<ContactSource> csvSource(QIODevice& device) {
    return std::make_unique<CsvSource>(device);
}

}  // namespace tandor
