#pragma once

#include <QLoggingCategory>

// The steps of the editor's start and end, for finding where the time goes:
// QT_LOGGING_RULES="rkedit.startup.debug=true" prints one line a step on stderr,
//   rkedit.startup: <step>: <ms since the program was loaded> ms (at <us since the epoch> us)
// (the epoch time lets a script that started the program tell the loading time too).
// Off, a step costs one check of the category.
Q_DECLARE_LOGGING_CATEGORY(startupLog)

void startupStep(const char* step);

// Now, in microseconds since the epoch: the time a measuring script can set against its own.
long long microsecondsSinceEpoch();
