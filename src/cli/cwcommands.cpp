// vellum-cli: the CW keyer's plan for a text.
// "cw timeline TEXT [--wpm N] [--char-wpm N] [--weight N]" prints the key line the
// keyer would make for the text, its macros expanded, one JSON line per change
// ({"t_ms", "down", "ms"}); "cw expand TEXT [--call C] [--rst-sent R] [--rst-rcvd R]
// [--exchange X] [--nr N] [--notes TEXT]" prints the expansion. Speeds, weight, the
// own call and the function keys are the configuration's unless given.

#include "cli.h"

#include "config/configfile.h"
#include "config/configrecord.h"
#include "station/macroexpand.h"
#include "station/morsecode.h"

#include <iostream>

namespace vellum::cli {

namespace {

/// The text with its macros expanded, upper-cased as the keyer's function keys send it.
MacroExpansion expandText(CliContext &context, const std::string &text)
{
    QsoMacroFields fields;
    fields.call = context.takeOption("--call");
    fields.rstSent = context.takeOption("--rst-sent");
    fields.rstRcvd = context.takeOption("--rst-rcvd");
    fields.received = context.takeOption("--exchange");
    fields.callNotes = context.takeOption("--notes");
    fields.contestNumber = context.takeNumber("--nr", 0, 0, 999999);
    MacroExpansion expansion =
        MacroExpandText(text, Config().CWKEYS, CurrentMacroEnvironment(Config(), std::move(fields)), context.notifier);
    expansion.text = KeyerUpperCase(std::move(expansion.text));
    return expansion;
}

int timelineCommand(CliContext &context, const std::string &text)
{
    KeyerSettings settings = KeyerSettings::From(Config());
    int spacing = context.takeNumber("--wpm", -1, 1, 60);
    int character = context.takeNumber("--char-wpm", spacing > 0 ? spacing : settings.speed, 1, 60);
    int weight = context.takeNumber("--weight", settings.weight, 1, 1000);
    if (spacing < 0)
        spacing = std::min(settings.wpm, character);
    MacroExpansion expansion = expandText(context, text);
    for (const KeyTransition &change : KeyTimeline(expansion.text, MorseTiming::For(character, spacing, weight)))
        std::cout << "{\"t_ms\": " << change.tMs << ", \"down\": " << (change.down ? "true" : "false")
                  << ", \"ms\": " << change.ms << "}\n";
    return 0;
}

int cwCommand(CliContext &context)
{
    const std::string &sub = context.arg(0, "timeline or expand");
    const std::string &text = context.arg(1, "the text");
    if (sub == "timeline")
        return timelineCommand(context, text);
    if (sub != "expand")
        throw CliError("cw: say timeline or expand, not " + sub);
    MacroExpansion expansion = expandText(context, text);
    std::cout << "{\"text\": " << JsonString(expansion.text)
              << ", \"enter_qso\": " << (expansion.enterQso ? "true" : "false") << "}\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("cw",
                   "cw timeline TEXT [--wpm N] [--char-wpm N] [--weight N] | cw expand TEXT [--call C] [--rst-sent R] "
                   "[--rst-rcvd R] [--exchange X] [--nr N] [--notes TEXT]",
                   cwCommand);

} // namespace vellum::cli
