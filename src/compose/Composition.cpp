#include "compose/Composition.h"

#include "sheets/LabelSheet.h"

namespace tandor::composition {

QString instructions(const LabelSheet& sheet) {
    // "Avery 5160 / 8160" reads "Avery 5160 and 8160".
    QStringList parts = sheet.parts.split(QStringLiteral(" / "));
    // A long family of equivalents is named by its first three.
    if (parts.size() > 4) {
        parts = parts.mid(0, 3) << QStringLiteral("others");
    }
    const QString last = parts.takeLast();
    const QString named = parts.isEmpty() ? last : parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    return QStringLiteral("Tandor prints labels (compatible with %1 labels) and envelopes.").arg(named) +
           QLatin1Char('\n') +
           QStringLiteral("Power tip: click 'Search Contacts' to print labels for a specific subset of your contacts.");
}

void focusPrintButton(CompositionState& s) {
    if (!s.returnAddressMode) {
        s.focus = FocusTarget::PrintButton;
    }
}

void selectPortrait(CompositionState& s) {
    s.portrait = true;
    s.landscape = false;
    clickPortrait(s);
}

void selectLandscape(CompositionState& s) {
    s.landscape = true;
    s.portrait = false;
    clickLandscape(s);
}

void setBold(CompositionState& s, bool checked) {
    if (s.bold != checked) {
        clickBold(s, checked);
    }
}

void setLargeFont(CompositionState& s, bool checked) {
    if (s.largeFont != checked) {
        clickLargeFont(s, checked);
    }
}

void startUp(CompositionState& s) {
    s = CompositionState{};
    selectPortrait(s);
    s.leftJustified = true;
    s.centered = false;
    clickLeftJustified(s);
    s.leftPad = QStringLiteral("2");
    s.topPad = QStringLiteral("3");
    s.envelopeListVisible = false;
    s.envelopeIndex = -1;
    s.focus = FocusTarget::Line1;
    setBold(s, false);
    s.boldVisible = false;
    setLargeFont(s, false);
    s.largeFontVisible = false;
    s.envelopeSizeCode.clear();
    s.focus = FocusTarget::Line1;
}

void clearForm(CompositionState& s) {
    setBold(s, false);
    s.boldVisible = false;
    setLargeFont(s, false);
    s.largeFontVisible = false;
    s.returnAddressMode = false;  // main Print button shown, return-address button hidden
    s.mediumOptionsEnabled = true;
    for (QString& line : s.lines) {
        line.clear();
    }
    s.labelSelected = false;
    s.envelopeSelected = false;
    s.positionCaptionVisible = false;
    s.envelopeListVisible = false;
    s.positionCaption.clear();
    // No envelope size is chosen any more: its caption goes with the list.
    s.sizeCaption.clear();
    s.startPosition = QStringLiteral("0");
    s.envelopeSizeCode = QStringLiteral("0");
    s.leftPad = QStringLiteral("2");
    s.topPad = QStringLiteral("3");
    s.focus = FocusTarget::Line1;
}

void clickLabel(CompositionState& s) {
    s.labelSelected = true;
    s.envelopeSelected = false;
    selectPortrait(s);
    setBold(s, false);
    s.boldVisible = false;
    setLargeFont(s, false);
    s.largeFontVisible = false;
    s.envelopeListVisible = false;
    s.sizeCaption.clear();
    s.positionCaption.clear();
}

bool chooseSheet(CompositionState& s, const QString& sheetName) {
    if (s.sheetName == sheetName) {
        return false;
    }
    s.sheetName = sheetName;
    // A position chosen on the old sheet may not exist on the new one: the
    // position is asked again, as choosing Label stock does.
    if (s.labelSelected && s.mediumOptionsEnabled) {
        clickLabel(s);
        return true;
    }
    return false;
}

void clickEnvelope(CompositionState& s) {
    s.envelopeSelected = true;
    s.labelSelected = false;
    selectLandscape(s);
    s.envelopeListVisible = true;
    s.positionCaption.clear();
    s.envelopeSizeCode = QString::number(s.envelopeIndex + 1);
    if (s.envelopeIndex >= 0 && s.envelopeIndex < static_cast<int>(envelopeSizes().size())) {
        const EnvelopeSize& size = envelopeSizes()[s.envelopeIndex];
        s.leftPad = QString::number(size.optionLeft);
        s.topPad = QString::number(size.optionTop);
    }
    s.sizeCaption.clear();
    s.focus = FocusTarget::Line1;
}

void chooseEnvelopeSize(CompositionState& s, int index) {
    if (index < 0 || index >= static_cast<int>(envelopeSizes().size())) {
        return;
    }
    const EnvelopeSize& size = envelopeSizes()[index];
    s.envelopeIndex = index;
    s.sizeCaption = QString::fromLatin1(size.text);
    s.envelopeSizeCode = QString::number(index + 1);
    s.leftPad = QString::number(size.listLeft);
    s.topPad = QString::number(size.listTop);
    s.boldVisible = true;
    s.largeFontVisible = true;
    focusPrintButton(s);
}

void clickPortrait(CompositionState& s) {
    s.portrait = true;
    s.landscape = false;
    s.leftPad = QStringLiteral("2");
    s.topPad = QStringLiteral("3");
}

void clickLandscape(CompositionState& s) {
    s.landscape = true;
    s.portrait = false;
    s.focus = FocusTarget::Line1;
}

void clickLeftJustified(CompositionState& s) {
    s.leftJustified = true;
    s.centered = false;
    s.focus = FocusTarget::Line1;
}

void clickCentered(CompositionState& s) {
    s.centered = true;
    s.leftJustified = false;
    s.focus = FocusTarget::Line1;
}

void clickBold(CompositionState& s, bool checked) {
    s.bold = checked;
    focusPrintButton(s);
}

void clickLargeFont(CompositionState& s, bool checked) {
    s.largeFont = checked;
    focusPrintButton(s);
}

}  // namespace tandor::composition
