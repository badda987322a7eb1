#pragma once

#include <QDialog>

class CRKeditView;
class QButtonGroup;
class QRadioButton;

// The modeless placement tool "配置ツール": which block kind to place, how blocks are shown
// (reference display) and how the grid is shown. It keeps no data: it starts from the current
// view's choices and, whenever the pointer moves over it, writes the checked choices into the
// current view, which repaints when a display choice changed. Enter, Esc and the close box
// only hide it; its view destroys it.
class CPlacementTool : public QDialog {
    Q_OBJECT
public:
    explicit CPlacementTool(CRKeditView* view);

    // Checks one radio button per group from the current view's members.
    void initialise();
    // Writes the checked choices into the current view (the step run on every mouse move).
    void poll();

    // The checked id among first..last, or 0 when none is.
    int checkedRadio(int first, int last) const;
    QRadioButton* radio(int id) const;
    QWidget* control(int id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void check(int id);

    CRKeditView* view_;
};
