#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

#include "ruffle/rufflefolder.h"

class CRKeditDoc;

// The fresh temporary folder a test play serves: the stage record under the stage's file
// name, the pictures it names, the movie as rk.swf, Ruffle in ruffle/ and index.html, the
// page the HTML export writes with cnf set to the stage's file name and Ruffle on. The
// folder and everything in it are removed with this object; nothing is written anywhere else.
// The folder's name holds the process id: making one also removes the folders that processes
// of this user which no longer exist left behind (killed before they could remove them).
class PlayFolder {
public:
    static constexpr const char* pageName = "index.html";

    explicit PlayFolder(RuffleFolder ruffle);

    // Why the movie at `moviePath` cannot be played: not a readable regular file, or larger
    // than maxMovieFileBytes (which the text names); empty when it can. Checked before
    // anything is copied, from its size alone.
    static QString checkMovie(const QString& moviePath);

    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    // The stage record's name inside the folder (set by refresh).
    const QString& stageName() const { return stageName_; }

    // Writes the stage as it is now (`doc` is a copy: its cnf becomes the record name). `stagePath`
    // is the stage file's path (UTF-8, the folder its pictures are found in); empty for a new
    // stage, which is called "stage.txt". `moviePath` is the rk.swf to play. Called again, it
    // refreshes the folder, so a reload in the browser shows the latest stage. False with `error`
    // set on failure.
    bool refresh(CRKeditDoc doc, const QString& stagePath, const QString& moviePath,
                 QString& error);

    // The warning about Japanese text under the emulator for the last refresh, "" when none.
    const QString& textWarning() const { return textWarning_; }

private:
    RuffleFolder ruffle_;
    QTemporaryDir dir_;
    QString stageName_;
    QString textWarning_;
    bool ruffleCopied_ = false;
};
