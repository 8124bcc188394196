// The label-position prompt answered with the input's text once (a second
// question is cancelled), then, when a position was accepted, the on-the-fly
// label printed there on the recording printer.
#include <QByteArray>
#include <QGuiApplication>

#include "FuzzSupport.h"
#include "platform/ScriptedPlatform.h"
#include "compose/Composition.h"
#include "compose/LabelPositionPrompt.h"
#include "compose/LabelPositions.h"
#include "compose/PrintCommand.h"

using namespace tandor;

// The label sheets take their character grid from the fonts' measures, which
// need a GUI application (the offscreen one: no display). It lives until the
// process ends, so that the fonts it loaded are never reported as leaks.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* application = new QGuiApplication(*argc, *argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString answer =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CompositionState state;
    composition::startUp(state);
    state.lines[0] = QStringLiteral("Ann Lee");
    composition::clickLabel(state);
    if (takeLabelPosition(state, answer)) {
        fuzz::check(!takeLabelPosition(state, QString()), "the prompt asked again and cancelled ends");
    }
    if (!state.labelSelected) {
        fuzz::check(!state.positionCaptionVisible, "no position without a label");
        return 0;
    }
    const int positions = sheetOf(state).count();
    const int start = positionNumber(state.startPosition);
    fuzz::check(start >= 1 && start <= positions, "an accepted start lies on the sheet",
                state.startPosition);
    fuzz::check(state.labelCount >= 1 && start + state.labelCount - 1 <= positions,
                "every accepted label lies on the sheet",
                QStringLiteral("start %1 count %2").arg(start).arg(state.labelCount));

    composition::clickLeftJustified(state);
    ScriptedPlatform platform;
    runPrintCommand(state, platform, fuzz::scratchFolder());
    const auto& documents = platform.recording()->documents();
    fuzz::check(documents.size() == 1, "the labels printed as one document",
                platform.messages().isEmpty() ? QString() : platform.messages().last().text);
    int printed = 0;
    for (const PrintedPage& page : documents.front().pages) {
        for (const PlacedText& text : page.texts) {
            fuzz::check(text.column >= 1 && text.line >= 1, "a text placed on the page");
            printed += text.text == QLatin1String("Ann Lee");
        }
    }
    fuzz::check(documents.front().pages.size() == 1, "one sheet");
    fuzz::check(printed == state.labelCount, "one label for each position",
                QStringLiteral("%1 of %2").arg(printed).arg(state.labelCount));
    return 0;
}
