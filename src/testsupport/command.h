#pragma once
// Running a program from a test (vellum-cli, pdftotext): a shell command line,
// its standard output and its exit status.

#include <string>

namespace vellum::test {

struct CommandRun {
    std::string out;
    int status = -1; ///< the exit status; -1 when it did not exit normally
};

/// Runs the command line through the shell and collects what it writes to standard output.
CommandRun RunCommand(const std::string &commandLine);

/// The text of a PDF file as pdftotext (poppler-utils) extracts it, with the
/// layout kept; empty when the file cannot be read.
std::string PdfText(const std::string &pdfFile);

} // namespace vellum::test
