#include "view/stagetool.h"

#include "document/coretexts.h"
#include "stage/cellwriter.h"

namespace {
// A tool whose drag spans a rectangle from the pressed cell to the cell under the pointer,
// shown as the drag rectangle and applied at the release.
class SpanTool : public StageTool {
public:
    void press(ToolHost&, GridCell at, bool erase) override {
        start_ = end_ = at;
        erase_ = erase;
        dragging_ = true;
    }
    void move(ToolHost&, GridCell at) override {
        if (dragging_)
            end_ = at;
    }
    void release(ToolHost& host, GridCell at) override {
        if (!dragging_)
            return;
        end_ = at;
        dragging_ = false;
        apply(host, CellRect::spanning(start_.x, start_.y, end_.x, end_.y), erase_);
    }
    void cancel(ToolHost&) override { dragging_ = false; }
    bool dragging() const override { return dragging_; }
    std::optional<CellRect> overlay() const override {
        if (!dragging_)
            return std::nullopt;
        return CellRect::spanning(start_.x, start_.y, end_.x, end_.y);
    }

protected:
    virtual void apply(ToolHost& host, const CellRect& cells, bool erase) = 0;

private:
    GridCell start_, end_;
    bool erase_ = false;
    bool dragging_ = false;
};

// The drag that toggles every cell of its rectangle between empty and normal block.
class ToggleTool : public SpanTool {
    void press(ToolHost& host, GridCell at, bool erase) override {
        if (!erase) // the toggle is the left button's only
            SpanTool::press(host, at, false);
    }
    void apply(ToolHost& host, const CellRect& cells, bool) override {
        CellWriter& writer = host.beginStroke(coreText(toolInfo(ToolId::Toggle).action));
        host.cellsWritten(writer.toggle(cells));
        host.endStroke();
    }
};

// A left drag fills the rectangle with the chosen kind, a right drag empties it.
class RectangleTool : public SpanTool {
    void apply(ToolHost& host, const CellRect& cells, bool erase) override {
        CellWriter& writer = host.beginStroke(coreText(toolInfo(ToolId::Rectangle).action));
        host.cellsWritten(writer.fill(cells, erase ? 0 : host.chosenKind()));
        host.endStroke();
    }
};

// Sets the cells along the pointer's whole path: the pen places the chosen kind (the right
// button empties), the eraser empties with either button.
class PathTool : public StageTool {
public:
    explicit PathTool(ToolId id) : id_(id) {}
    void press(ToolHost& host, GridCell at, bool erase) override {
        code_ = erase || id_ == ToolId::Eraser ? 0 : host.chosenKind();
        writer_ = &host.beginStroke(coreText(toolInfo(id_).action));
        last_ = at;
        host.cellsWritten(writer_->set(at.x, at.y, code_));
    }
    void move(ToolHost& host, GridCell at) override {
        if (!writer_ || at == last_)
            return;
        host.cellsWritten(writer_->line(last_.x, last_.y, at.x, at.y, code_));
        last_ = at;
    }
    void release(ToolHost& host, GridCell at) override {
        if (!writer_)
            return;
        move(host, at);
        writer_ = nullptr;
        host.endStroke();
    }
    void cancel(ToolHost& host) override {
        if (!writer_)
            return;
        writer_ = nullptr;
        host.cancelStroke();
    }
    bool dragging() const override { return writer_ != nullptr; }

private:
    ToolId id_;
    CellWriter* writer_ = nullptr;
    GridCell last_;
    CellCode code_ = 0;
};

// A click fills the 4-connected region of the clicked cell's code.
class FillTool : public StageTool {
    void press(ToolHost& host, GridCell at, bool erase) override {
        CellWriter& writer = host.beginStroke(coreText(toolInfo(ToolId::Fill).action));
        host.cellsWritten(writer.flood(at.x, at.y, erase ? 0 : host.chosenKind()));
        host.endStroke();
    }
};

// A click chooses the kind of the clicked cell; an empty cell, or a code no kind names,
// chooses nothing.
class PickTool : public StageTool {
    void press(ToolHost& host, GridCell at, bool) override {
        if (const CellCode code = host.cell(at); BlockKinds::placeable(code))
            host.chooseKind(code);
    }
};
// A drag selects the rectangle of cells it spans (a new drag replaces the selection); a drag
// that starts inside the selection moves its cells, with Ctrl a copy of them.
class SelectTool : public SpanTool {
public:
    void press(ToolHost& host, GridCell at, bool erase) override {
        if (erase)
            return;
        if (const auto selected = host.selection(); selected && selected->contains(at.x, at.y)) {
            moving_ = true;
            from_ = at;
            host.liftSelection(host.duplicating());
            return;
        }
        SpanTool::press(host, at, false);
    }
    void move(ToolHost& host, GridCell at) override {
        if (moving_)
            host.dropLifted(at.x - from_.x, at.y - from_.y);
        else
            SpanTool::move(host, at);
    }
    void release(ToolHost& host, GridCell at) override {
        if (!moving_) {
            SpanTool::release(host, at);
            return;
        }
        moving_ = false;
        host.dropLifted(at.x - from_.x, at.y - from_.y);
        host.endStroke();
    }
    void cancel(ToolHost& host) override {
        if (moving_) {
            moving_ = false;
            host.cancelStroke();
        }
        SpanTool::cancel(host);
    }
    bool dragging() const override { return moving_ || SpanTool::dragging(); }

protected:
    void apply(ToolHost& host, const CellRect& cells, bool) override { host.setSelection(cells); }

private:
    bool moving_ = false;
    GridCell from_;
};
} // namespace

const std::vector<ToolInfo>& stageTools() {
    static const std::vector<ToolInfo> tools = {
        {ToolId::Toggle, 'T', "切り替え", "ブロックの切り替え"},
        {ToolId::Pen, 'B', "ペン", "ペン"},
        {ToolId::Rectangle, 'R', "矩形", "矩形"},
        {ToolId::Fill, 'F', "塗りつぶし", "塗りつぶし"},
        {ToolId::Eraser, 'E', "消しゴム", "消しゴム"},
        {ToolId::Pick, 'I', "スポイト", "スポイト"},
        {ToolId::Select, 'S', "選択", "移動"},
    };
    return tools;
}

const ToolInfo& toolInfo(ToolId id) {
    for (const ToolInfo& info : stageTools())
        if (info.id == id)
            return info;
    return stageTools().front();
}

std::unique_ptr<StageTool> StageTool::make(ToolId id) {
    switch (id) {
    case ToolId::Pen:
    case ToolId::Eraser:
        return std::make_unique<PathTool>(id);
    case ToolId::Rectangle:
        return std::make_unique<RectangleTool>();
    case ToolId::Fill:
        return std::make_unique<FillTool>();
    case ToolId::Pick:
        return std::make_unique<PickTool>();
    case ToolId::Select:
        return std::make_unique<SelectTool>();
    case ToolId::Toggle:
        break;
    }
    return std::make_unique<ToggleTool>();
}
