#pragma once

#include <QString>

#include <string_view>

#include "host/message.h"

// Names that core gives in Japanese (the field table's labels, the block kinds, the drawing
// tools, a message's template), shown in the interface's language. Core keeps its own texts,
// which its records and `rkstage` use; the GUI translates them where it shows them.
QString coreText(std::string_view utf8);

// A message of core in the interface's language: its template translated, and its
// arguments put in (a message given as an argument translated as well).
QString coreMessage(const Message& message);
