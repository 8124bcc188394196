#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace tandor {

// Where a handler of the main window put the keyboard focus.
enum class FocusTarget { Unchanged, Line1, Line4, PrintButton, EnvelopeList };

// What the main window's composition controls hold: the five lines, the
// medium, the envelope size, the label position, the margin boxes, alignment,
// orientation, the envelope font options and the visibility of the controls
// that the handlers show and hide. The window copies its controls into this
// before a handler runs and shows the result after.
struct CompositionState {
    std::array<QString, 5> lines;  // txtLMLine1 .. txtLMLine5; empty only when ""

    // Medium option buttons (optLMLabel, optLMEnvelope): both can be off.
    bool labelSelected = false;
    bool envelopeSelected = false;
    bool mediumOptionsEnabled = true;

    // Envelope size list (cboLMEnvelope) and its caption (lblLMEnvSize).
    int envelopeIndex = -1;  // -1: nothing selected
    bool envelopeListVisible = false;
    QString envelopeSizeCode;  // "0" to "7"; empty reads as 0
    QString sizeCaption;

    // Label position (Part of the label-position prompt).
    QString labelPositionText;
    QString startPosition;
    QString endPosition;
    int labelCount = 0;
    // The address sheet chosen under Label stock (cboLMSheet): a sheet name;
    // empty or unknown means the 30-up sheet.
    QString sheetName;
    QString positionCaption;  // lblLMPosition
    bool positionCaptionVisible = false;

    // Margin boxes: any text; read by their leading number.
    QString leftPad = QStringLiteral("2");  // txtLMLeftPad
    QString topPad = QStringLiteral("3");   // txtLMToppad

    bool leftJustified = false;  // optLMLeftjust
    bool centered = false;       // optLMCenter
    bool portrait = false;       // optPortrait
    bool landscape = false;      // optLandscape

    bool bold = false;  // chkBold
    bool boldVisible = false;
    bool largeFont = false;  // chkLargeFont
    bool largeFontVisible = false;

    // Return-address mode: cmdRetAddress shown in place of cmdLMStart.
    bool returnAddressMode = false;

    FocusTarget focus = FocusTarget::Unchanged;

    bool allLinesEmpty() const;

    bool operator==(const CompositionState&) const = default;
};

// The envelope sizes of the list, in order, with the margins each writes.
struct EnvelopeSize {
    int code;  // 1..7 = list index + 1
    const char* text;
    int listLeft;  // LeftPad, TopPad when chosen in the list
    int listTop;
    int optionLeft;  // LeftPad, TopPad when Envelope is clicked with this size selected
    int optionTop;
};
const std::array<EnvelopeSize, 7>& envelopeSizes();

}  // namespace tandor
