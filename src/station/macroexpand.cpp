#include "macroexpand.h"

#include "logstore/paths.h"
#include "logstore/services.h"
#include "logstore/trim.h"
#include "morsecode.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

namespace vellum {

namespace {

bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

std::string twoDigits(int value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

/// The file of "%f": ".txt" added when the name has no extension.
std::string macroFilePath(const std::string &saveDir, std::string name)
{
    std::size_t slash = name.find_last_of('/');
    if (name.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
        name += ".txt";
    return FindFileNoCase(saveDir, name);
}

/// The lines of a text file joined with carriage returns; nothing when it cannot be read.
std::optional<std::string> fileLines(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string joined;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t stop = end == std::string::npos ? bytes.size() : end;
        std::string_view line(bytes.data() + start, stop - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (start > 0)
            joined += '\r';
        joined += line;
        start = stop + 1;
    }
    return joined;
}

class Expander {
public:
    Expander(const FunctionKeys &keys, const MacroEnvironment &environment, UserNotifier &notifier)
        : m_keys(keys), m_env(environment), m_notifier(notifier)
    {
    }

    MacroExpansion Run(int key)
    {
        if (key >= 1 && key <= 16) {
            m_used[static_cast<std::size_t>(key)] = true;
            expand(FunctionKeyExpansion(m_keys[static_cast<std::size_t>(key - 1)].view()));
        }
        return {std::move(m_out), m_enter};
    }

    MacroExpansion RunText(std::string_view text)
    {
        expand(text);
        return {std::move(m_out), m_enter};
    }

private:
    void expand(std::string_view text)
    {
        std::size_t i = 0;
        while (i < text.size()) {
            if (m_stopped) {
                m_out.append(text.substr(i));
                return;
            }
            if (text[i] != '%') {
                m_out.push_back(text[i++]);
                continue;
            }
            if (i + 1 >= text.size())
                return; // a "%" at the very end is dropped
            char code = text[i + 1];
            i += 2;
            if (code >= '1' && code <= '8') {
                int key = code - '0';
                if (code == '1' && i < text.size() && text[i] >= '1' && text[i] <= '8')
                    key = 8 + (text[i++] - '0'); // "%11".."%18": the Ctrl keys 9..16
                expandKey(key);
            } else if (code == 'f') {
                std::size_t end = text.find('%', i);
                std::string name(text.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i));
                i = end == std::string_view::npos ? text.size() : end + 1;
                insertFile(name);
            } else {
                m_out += simpleCode(code);
            }
        }
    }

    void expandKey(int key)
    {
        bool &used = m_used[static_cast<std::size_t>(key)];
        if (used) {
            m_notifier.warning("Recursion for register " + std::to_string(key));
            m_stopped = true;
            return;
        }
        used = true;
        expand(FunctionKeyExpansion(m_keys[static_cast<std::size_t>(key - 1)].view()));
    }

    void insertFile(const std::string &name)
    {
        std::string path = macroFilePath(m_env.saveDir, name);
        if (m_fileDepth >= MacroFileDepth) {
            m_notifier.warning("Files to send are nested too deeply:\r" + path);
            return;
        }
        std::optional<std::string> lines = fileLines(path);
        if (!lines) {
            m_notifier.error("File to send not found:\r" + path);
            return;
        }
        ++m_fileDepth;
        expand(*lines);
        --m_fileDepth;
    }

    std::string simpleCode(char code)
    {
        const QsoMacroFields &f = m_env.fields;
        if (code >= 'A' && code <= 'Z')
            return std::string(1, static_cast<char>(code - 'A' + 1)); // Ctrl+letter; "%M" is CR
        switch (code) {
        case '#':
            return f.contestNumber > 0 ? paddedNumber(f.contestNumber) : std::string();
        case '$':
            return f.rstSent;
        case '%':
            return "%";
        case '&':
            return f.received.empty() ? std::string(TrimLeft(f.rstRcvd)) : f.received;
        case '@':
            return f.call;
        case 'b':
            return " ";
        case 'd': {
            CalendarDate date = SplitDayNumber(m_env.today);
            return twoDigits(date.year) + twoDigits(date.month) + twoDigits(date.day) +
                   twoDigits(m_env.utcSeconds / 3600) + twoDigits(m_env.utcSeconds / 60 % 60);
        }
        case 'e':
            return "\x1B";
        case 'l':
            m_enter = true;
            return {};
        case 'n':
            return FirstNameOf(f.callNotes);
        case 'r':
            return f.rstRcvd;
        case 't':
            return FormatTime(m_env.utcSeconds, false);
        case 'x':
            return FormatDate(m_env.today, m_env.dateFormat, false);
        case '~':
            return m_env.ownCall;
        default:
            return {};
        }
    }

    static std::string paddedNumber(int number)
    {
        std::string text = std::to_string(number);
        return std::string(text.size() < 3 ? 3 - text.size() : 0, '0') + text;
    }

    const FunctionKeys &m_keys;
    const MacroEnvironment &m_env;
    UserNotifier &m_notifier;
    std::array<bool, 17> m_used{};
    bool m_stopped = false;
    bool m_enter = false;
    int m_fileDepth = 0;
    std::string m_out;
};

} // namespace

MacroEnvironment CurrentMacroEnvironment(const TConfigRecord &config, QsoMacroFields fields)
{
    MacroEnvironment environment;
    environment.fields = std::move(fields);
    environment.ownCall = config.Personal_Callsign.str();
    int format = config.Personal_DateFormat;
    environment.dateFormat = format >= 1 && format <= 3 ? static_cast<DateFormat>(format) : DateFormat::YearMonthDay;
    environment.today = TodayDayNumber();
    environment.utcSeconds = NowUtcSeconds();
    environment.saveDir = SaveDir();
    return environment;
}

MacroExpansion MacroExpand(int key, const FunctionKeys &keys, const MacroEnvironment &environment,
                           UserNotifier &notifier)
{
    return Expander(keys, environment, notifier).Run(key);
}

MacroExpansion MacroExpandText(std::string_view text, const FunctionKeys &keys, const MacroEnvironment &environment,
                               UserNotifier &notifier)
{
    return Expander(keys, environment, notifier).RunText(text);
}

std::string FirstNameOf(std::string_view notes)
{
    if (notes.empty() || !isLetter(notes.front()))
        return {};
    std::string name;
    bool capital = true;
    for (char c : notes) {
        if (c == '-') {
            name += c;
            capital = true;
        } else if (isLetter(c)) {
            name += static_cast<char>(capital ? std::toupper(static_cast<unsigned char>(c))
                                              : std::tolower(static_cast<unsigned char>(c)));
            capital = false;
        } else {
            break;
        }
    }
    while (!name.empty() && name.back() == '-')
        name.pop_back();
    return name;
}

} // namespace vellum
