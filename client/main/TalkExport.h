#pragma once
// A conversation's text exported to a file of its own and opened with the
// desktop's application for text files.
#include <QString>

namespace parlova {

// Writes text and a final CR LF, as UTF-8, to a new file in the working
// folder named after the conversation ("Team.TXT", else "Team_1.TXT",
// "Team_2.TXT"...), never over an existing file, and opens it. Gives the
// path written, empty when nothing could be written (errors are silent).
QString ExportTalk(const QString& text, const QString& theme);

}  // namespace parlova
