#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "stage/blockedit.h"
#include "stage/blockkind.h"
#include "stage/cellrect.h"

class CellWriter;

// The drawing tools of a stage view. Each has a single-letter key and a name, which is also
// the name of the undo step its press-to-release makes.
enum class ToolId { Toggle, Pen, Rectangle, Fill, Eraser, Pick };

struct ToolInfo {
    ToolId id;
    char key;           // the letter that chooses it, upper case
    const char* name;   // UTF-8, as the menus and the placement tool show it
    const char* action; // UTF-8, the undo step's name
};
// Every tool in the order the menus and the placement tool list them.
const std::vector<ToolInfo>& stageTools();
const ToolInfo& toolInfo(ToolId id);

// What a tool may do with the stage of its view. A stroke is one undo step: begun at the
// press, written through the cell writer (each write shown at once), kept at the release or
// given back by a cancel.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    // The kind a tool places (1..8).
    virtual CellCode chosenKind() const = 0;
    virtual void chooseKind(CellCode kind) = 0;
    // The stage's cells, with the writer clipped to the stage.
    virtual CellCode cell(GridCell at) const = 0;
    virtual CellWriter& beginStroke(const QString& action) = 0;
    virtual void cellsWritten(const CellRect& cells) = 0;
    virtual void endStroke() = 0;
    virtual void cancelStroke() = 0;
};

// One tool: press, moves and release with the cell under the pointer (held to the stage's
// cells by the view while the button is down), and a cancel that gives up what is in
// progress. `erase` is the right button: the tool empties cells instead of placing the kind.
class StageTool {
public:
    virtual ~StageTool() = default;
    virtual void press(ToolHost& host, GridCell at, bool erase) = 0;
    virtual void move(ToolHost&, GridCell) {}
    virtual void release(ToolHost&, GridCell) {}
    // Gives up a press-to-release in progress; nothing otherwise.
    virtual void cancel(ToolHost&) {}
    // A press-to-release is in progress.
    virtual bool dragging() const { return false; }
    // The cells the drag rectangle covers while dragging (the toggle and rectangle tools).
    virtual std::optional<CellRect> overlay() const { return std::nullopt; }

    static std::unique_ptr<StageTool> make(ToolId id);
};
