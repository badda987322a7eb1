#pragma once

#include <QString>
#include <string_view>

class CRKeditDoc;
class QWidget;

// The HTML export layer (html/): the export dialog and command, beside the panels. It may use
// core, the document and the panels' dialog helpers; it names no view and nothing of the
// shell.
//
// Runs the export on `doc`, the stage saved at `stagePath` (empty for a stage never saved):
// the export dialog on the document's values, proposing the stage's file name as the stage
// the page loads while none is set; on OK the values are stored back and the page is written
// where the user chooses (WriteHtmlPage). Cancel changes nothing. True when OK stored values
// that differ from the document's, so the caller can mark the document modified; cancelling
// the file chooser afterwards does not undo that.
bool runHtmlExport(QWidget* parent, CRKeditDoc& doc, const QString& stagePath = {});

// Composes the document's page, asks for the target file (save mode, default extension
// "html", overwrite confirmation) and writes it. Cancelling writes nothing. A file that
// cannot be written is reported in a message box and left as it was. True when a page was
// written. The chooser proposes proposedPagePath(stagePath).
bool WriteHtmlPage(QWidget* parent, const CRKeditDoc& doc, const QString& stagePath = {});

// Where the page of the stage at `stagePath` is proposed: beside it, its name with ".html"
// for its extension ("stage1.txt" -> "stage1.html"). Empty for a stage never saved.
QString proposedPagePath(const QString& stagePath);

// Writes `bytes` to `path` all or nothing (through a temporary file that replaces the
// target only when complete). False with `error` set when it cannot.
bool saveHtmlFile(const QString& path, std::string_view bytes, QString& error);
