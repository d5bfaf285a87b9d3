#pragma once
// The exports asked for on the command line, run without a window.
struct CommandLineRequest;
class QTextStream;

// Opens the request's arrangement and writes its pages as it asks; what goes
// wrong is written to `errors`. The process's exit code: 0 when every page was
// written with every picture, non-zero otherwise (missing pictures included).
int RunCommandLineExport(const CommandLineRequest &request, QTextStream &errors);
