#pragma once

#include <QString>

namespace zor {

// The program's name, as its boxes' captions, the printout and the PDF files
// it makes give it: "ZOR-Quorvane".
QString programName();

// A name or value as the program's messages quote it: „text“.
QString quoted(const QString &text);
// A path quoted so, with the system's own separators.
QString quotedPath(const QString &path);

} // namespace zor
