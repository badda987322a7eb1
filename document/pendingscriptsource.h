#pragma once

#include <optional>
#include <string>

// What a view of the stage holds of the event script and has not handed to the document (an
// open event tool's text). A view registers itself with its document while it exists.
class PendingScriptSource {
public:
    // The script the tool's text would store (CP932, CR LF line ends), or nothing when this
    // view has none to give now. `quiet`: a character the script cannot store is left out
    // without a message.
    virtual std::optional<std::string> pendingScript(bool quiet) = 0;

protected:
    ~PendingScriptSource() = default;
};
