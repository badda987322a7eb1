#pragma once

#include <optional>
#include <string>

class CRKeditDoc;

// What the GUI-free core needs from the program around it. The editor implements it with
// message boxes and its views; rkstage implements it for the terminal (messages on stderr).
class Host {
public:
    virtual ~Host() = default;

    // A modal message with an OK button. `text` is UTF-8.
    virtual void messageBox(const std::string& text) = 0;

    // Tells every view of `doc` to update (each runs its document-to-panel transfer).
    virtual void updateAllViews(CRKeditDoc& doc) = 0;

    // When the current view shows `doc` and its event tool is open: the tool first takes its
    // edit control's text into its script, and that script (CP932, lines ended by CR LF) is
    // returned. Otherwise nothing.
    virtual std::optional<std::string> takeEventToolScript(const CRKeditDoc& doc) = 0;
};
