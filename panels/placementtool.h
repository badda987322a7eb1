#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QButtonGroup;
class QRadioButton;

// The modeless placement tool "配置ツール": which block kind to place (keys 1..8), which
// drawing tool places it (each by its letter key), how blocks are shown (reference display)
// and how the grid is shown. It keeps no data: it starts from the choices
// it is given and, whenever the pointer moves over it, tells the checked choices
// (choicesPolled), which its view writes into the current view. Enter, Esc and the close box
// only hide it; its view destroys it.
class CPlacementTool : public QDialog {
    Q_OBJECT
public:
    // The tool's controls: eight block kinds, three reference displays and three grid modes
    // (each a run of radio buttons in that order), and the block count with its button.
    enum Control : int {
        IDC_BLOCK_COUNT = 1000,
        IDC_MEASURE = 1002,
        IDC_KIND_NORMAL = 1044,
        IDC_KIND_DOUBLE = 1045,
        IDC_KIND_TRIPLE = 1046,
        IDC_KIND_UNBREAKABLE = 1047,
        IDC_KIND_TRANSPARENT = 1048,
        IDC_KIND_ITEM = 1049,
        IDC_KIND_SPEED = 1050,
        IDC_KIND_GROUP = 1051,
        IDC_REFERENCE_OPAQUE = 1052,
        IDC_REFERENCE_NOTPEN = 1053,
        IDC_REFERENCE_HIDDEN = 1054,
        IDC_GRID_LINES = 1055,
        IDC_GRID_DOTS = 1056,
        IDC_GRID_HIDDEN = 1057,
        IDC_TOOL_FIRST = 1060, // the drawing tools, in the order the view lists them
    };

    // `tools`: the drawing tools' names (as shown) and keys, in order (the radio of tool k has id
    // IDC_TOOL_FIRST + k).
    struct ToolEntry {
        QString name;
        QChar key;
    };
    explicit CPlacementTool(const QList<ToolEntry>& tools = {});

    // Checks one radio button per group: block kind 1..8, reference display and grid mode
    // 2, 1 or 0, and drawing tool `tool` (an index of the tools given; -1 checks none).
    void initialise(int blockKind, int referenceDisplay, int gridMode, int tool = -1);
    // Shows the block count of "計測": the number in its field, the breakdown as its tip.
    void showCount(int total, const QString& breakdown);
    // Tells the checked choices (the step run on every mouse move).
    void poll();

    // The checked id among first..last, or 0 when none is.
    int checkedRadio(int first, int last) const;
    QRadioButton* radio(int id) const;
    QWidget* control(int id) const;

signals:
    // The checked choices: block kind 1..8, reference display and grid mode 2, 1 or 0; a
    // group with no button checked gives 0 for the kind and -1 for the others.
    void choicesPolled(int blockKind, int referenceDisplay, int gridMode);
    // A drawing tool was chosen (its index), by its radio or its key.
    void toolChosen(int tool);
    // "計測" was pressed.
    void countRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build(const QList<ToolEntry>& tools);
    int tools_ = 0;
    void check(int id);
};
