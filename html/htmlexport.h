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
// where the user chooses (WriteHtmlPage). Cancel changes nothing. The Ruffle check box starts
// at the choice saved in the program's settings (off when none is saved); OK saves the
// choice. True when OK stored values that differ from the document's, so the caller can mark
// the document modified; cancelling the file chooser afterwards does not undo that.
bool runHtmlExport(QWidget* parent, CRKeditDoc& doc, const QString& stagePath = {});

// Composes the document's page, asks for the target file (save mode, default extension
// "html", overwrite confirmation) and writes it. Cancelling writes nothing. A file that
// cannot be written is reported in a message box and left as it was. True when a page was
// written. The chooser proposes proposedPagePath(stagePath).
//
// With `ruffle` the page loads Ruffle and the Ruffle files go into a "ruffle" folder beside
// it: the same version already there is left alone, another version is replaced only when the
// user agrees, and anything else named "ruffle" is never touched (nothing is written then).
// Ruffle is looked for beside the program (../share/rkedit/ruffle) or in RKEDIT_RUFFLE_DIR;
// when it is missing the message says where, and nothing is written.
bool WriteHtmlPage(QWidget* parent, const CRKeditDoc& doc, bool ruffle = false,
                   const QString& stagePath = {});

// Where the page of the stage at `stagePath` is proposed: beside it, its name with ".html"
// for its extension ("stage1.txt" -> "stage1.html"). Empty for a stage never saved.
QString proposedPagePath(const QString& stagePath);

// The settings key of the export dialog's Ruffle check box.
inline constexpr const char* ruffleExportSettingsKey = "Export/Ruffle";

// Writes `bytes` to `path` all or nothing (through a temporary file that replaces the
// target only when complete). False with `error` set when it cannot.
bool saveHtmlFile(const QString& path, std::string_view bytes, QString& error,
                  const QString& stagePath = {});
