#pragma once

#include <QString>

#include <string_view>

// Names that core gives in Japanese (the field table's labels, the block kinds, the drawing
// tools), shown in the interface's language. Core keeps its own texts, which its records and
// `rkstage` use; the GUI translates them where it shows them.
QString coreText(std::string_view utf8);
