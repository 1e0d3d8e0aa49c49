#include "command.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace vellum::test {

CommandRun RunCommand(const std::string &commandLine)
{
    CommandRun run;
    FILE *pipe = ::popen(commandLine.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.out.append(buffer.data(), n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string PdfText(const std::string &pdfFile)
{
    return RunCommand("pdftotext -layout '" + pdfFile + "' - 2>/dev/null").out;
}

} // namespace vellum::test
