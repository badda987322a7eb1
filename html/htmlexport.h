#pragma once

#include <QString>
#include <string_view>

class CRKeditDoc;
class QWidget;

// The HTML export layer (html/): the export dialog and command, beside the panels. It may use
// core, the document and the panels' dialog helpers; it names no view and nothing of the
// shell.
//
// Runs the export on `doc`: the export dialog on the document's values; on OK the values
// are stored back and the page is written where the user chooses (WriteHtmlPage). Cancel
// changes nothing. True when OK stored values that differ from the document's, so the
// caller can mark the document modified; cancelling the file chooser afterwards does not
// undo that.
bool runHtmlExport(QWidget* parent, CRKeditDoc& doc);

// Composes the document's page, asks for the target file (save mode, default extension
// "html", overwrite confirmation) and writes it. Cancelling writes nothing. A file that
// cannot be written is reported in a message box and left as it was. True when a page was
// written.
bool WriteHtmlPage(QWidget* parent, const CRKeditDoc& doc);

// Writes `bytes` to `path` all or nothing (through a temporary file that replaces the
// target only when complete). False with `error` set when it cannot.
bool saveHtmlFile(const QString& path, std::string_view bytes, QString& error);
