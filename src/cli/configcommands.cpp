// vellum-cli: the configuration. A set-up step loads SAVE/VELLUM.CFG (read only;
// the defaults when it is missing or rejected) into the program's record and
// hands the log store its settings. Commands: "config show" prints every setting
// as one JSON object keyed by setting name; "config defaults OUT" writes the
// built-in image as a configuration file.

#include "cli.h"

#include "config/configfields.h"
#include "config/configfile.h"
#include "config/configsettings.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <charconv>
#include <cmath>
#include <iostream>

namespace vellum::cli {

namespace {

template <typename T>
struct IsIndexedSetting : std::false_type {};
template <typename T>
struct IsIndexedSetting<IndexedSetting<T>> : std::true_type {};

/// Writes settings as JSON: numbers as numbers, flags as true/false, strings as
/// strings, indexed settings as arrays, groups as objects. One top-level setting
/// per line.
class JsonWriter {
public:
    std::string out = "{";

    template <typename Field>
    void operator()(const char *name, Field &&field)
    {
        separate();
        if (m_depth == 0)
            out += "\n  ";
        out += JsonString(name) + ":";
        if (m_depth == 0)
            out += " ";
        value(field);
    }

    std::string finish() { return out + "\n}\n"; }

private:
    int m_depth = 0;
    bool m_first = true;

    void separate()
    {
        if (!m_first)
            out += ",";
        m_first = false;
    }

    template <typename Field>
    void value(Field &field)
    {
        using Plain = std::remove_const_t<Field>;
        if constexpr (IsIndexedSetting<Plain>::value) {
            out += "[";
            for (std::size_t i = 0; i < field.elements.size(); ++i) {
                if (i > 0)
                    out += ",";
                value(field.elements[i]);
            }
            out += "]";
        } else if constexpr (SettingGroup<Plain>) {
            ++m_depth;
            m_first = true;
            out += "{";
            ForEachField(field, *this);
            out += "}";
            --m_depth;
            m_first = false;
        } else {
            leaf(field);
        }
    }

    template <std::size_t Capacity>
    void leaf(const ShortString<Capacity> &text) { out += JsonString(text.view()); }
    void leaf(const ByteBool &flag) { out += flag ? "true" : "false"; }
    void leaf(const LeF64 &number)
    {
        const double v = number;
        if (!std::isfinite(v)) {
            out += "null";
            return;
        }
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
        out.append(buffer, result.ptr);
    }
    template <typename Number>
    void leaf(const Number &number) { out += std::to_string(static_cast<std::int64_t>(number)); }
};

int configShow(CliContext &)
{
    JsonWriter writer;
    ForEachSetting(static_cast<const TConfigRecord &>(Config()), writer);
    std::cout << writer.finish();
    return 0;
}

int configDefaults(CliContext &context)
{
    const std::string &target = context.arg(1, "output file (config defaults OUT)");
    TConfigRecord image = BuiltInConfig();
    try {
        SaveConfig(image, target, ScreenInfo{});
    } catch (const EFileError &e) {
        throw CliError(e.what());
    }
    return 0;
}

int configCommand(CliContext &context)
{
    const std::string &sub = context.arg(0, "subcommand (config show | config defaults OUT)");
    if (sub == "show")
        return configShow(context);
    if (sub == "defaults")
        return configDefaults(context);
    throw CliError("config: unknown subcommand '" + sub + "' (config show | config defaults OUT)");
}

void loadConfiguration(CliContext &context)
{
    // Read only: a rejected file is reported and left where it is; nothing is written.
    LoadConfig(Config(), DataFileName(DataFile::Config), std::nullopt, context.notifier, RejectedFile::LeaveAlone);
    PublishConfigSnapshot();
    auto settings = std::make_shared<ConfigLogSettings>(Config());
    context.services.settings = settings.get();
    context.owned.push_back(settings);
}

} // namespace

VELLUM_CLI_SETUP(10, loadConfiguration);
VELLUM_CLI_COMMAND("config", "config show | config defaults OUT", configCommand);

} // namespace vellum::cli
