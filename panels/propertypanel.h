#pragma once

#include <QDialog>
#include <QPixmap>

#include <functional>
#include <map>

#include "picture/pictureblock.h"
#include "stage/propertyvalues.h"

class CUpDown;
class DataExchange;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class StageDocument;

// The panels layer (panels/): the tool panels of a stage window (properties panel, placement
// tool, event tool, new block layout dialog) and what every dialog uses: dialog units, the
// panel font, file choosers and message boxes (Dialogs). It may use core and the document;
// it names no view and nothing of the shell. A panel reads its document and emits requests
// (take my values, close me, the display changed) that its view connects.
//
// The modeless properties panel "プロパティ": every stage setting in one scrolling column of
// fields. Its setting members (PropertyValues) are read and written by the owning view's
// transfers; the panel itself never changes the document (it reads the stage file's path to
// find pictures). It asks its view to take its fields into the document (transferRequested)
// whenever the pointer moves over its background and whenever a field is finished (focus
// leaves it, Enter, an arrow step, a click on a check box, a choice in a list).
class CPropertyPanel : public QDialog, public PropertyValues {
    Q_OBJECT
public:
    // The panel's controls. An edit and its up-down control are named after the setting they
    // hold; the up-down's name starts with SPIN_.
    enum Control : int {
        IDC_GRAPHIC1 = 1000,
        IDC_GRAPHIC2 = 1001,
        IDC_NEW_BLOCK_LAYOUT = 1002,
        IDC_BAR_SPACE = 1003,
        IDC_MIN_RADIAN = 1005,
        IDC_MAX_RADIAN = 1006,
        IDC_BAR_WIDTH = 1007,
        IDC_BAR_HEIGHT = 1008,
        IDC_CRITICAL_WIDTH = 1009,
        IDC_EDGE_WIDTH = 1010,
        IDC_X_SPEED = 1011,
        IDC_LIFE = 1012,
        IDC_KEYBOARD_MODE = 1013,
        IDC_BLOCK_MODE = 1014,
        IDC_SOUND_MODE = 1015,
        IDC_EFFECT_MODE = 1016,
        IDC_LITE_MODE = 1017,
        IDC_SPIN_BAR_WIDTH = 1018,
        IDC_SPIN_BAR_HEIGHT = 1019,
        IDC_SPIN_LIFE = 1020,
        IDC_SPIN_BAR_SPACE = 1021,
        IDC_BLOCK_WIDTH = 1022,
        IDC_BLOCK_HEIGHT = 1023,
        IDC_RUNTIME_WIDTH = 1024,
        IDC_RUNTIME_HEIGHT = 1025,
        IDC_BALL_SIZE = 1026,
        IDC_BASE_SPEED = 1027,
        IDC_PRECISION = 1028,
        IDC_EDGE_BACK = 1029,
        IDC_RANKING_ENABLE = 1030,
        IDC_GRAPHIC_WIDTH = 1031,
        IDC_GRAPHIC_HEIGHT = 1032,
        IDC_BROWSE_GRAPHIC1 = 1033,
        IDC_BROWSE_GRAPHIC2 = 1034,
        IDC_TIMER_VISIBLE = 1035,
        IDC_SPIN_MIN_RADIAN = 1036,
        IDC_SPIN_BALL_SIZE = 1037,
        IDC_SPIN_BASE_SPEED = 1038,
        IDC_SPIN_PRECISION = 1039,
        IDC_SPIN_MAX_RADIAN = 1040,
        IDC_SPIN_EDGE_WIDTH = 1041,
        IDC_SPIN_CRITICAL_WIDTH = 1042,
        IDC_SPIN_X_SPEED = 1043,
        IDC_BLOCK_MASK = 1044,
        IDC_SPIN_BLOCK_MASK = 1045,
        IDC_REDRAW_GRAPHIC1 = 1057,
        IDC_REDRAW_GRAPHIC2 = 1058,
        IDC_BALL_SPEED_RATE = 1061,
        IDC_BAR_SPEED_RATE = 1062,
    };

    // The panel of `document`'s view (none: no stage file to find pictures beside).
    explicit CPropertyPanel(StageDocument* document);
    ~CPropertyPanel() override;

    // Exchange: controls -> members when `saveAndValidate`, members -> controls otherwise.
    // A field that cannot be read stops the exchange there (it and later fields keep their
    // members) after a message naming it; the same refusal is not repeated until its text
    // changes. Returns false then.
    bool UpdateData(bool saveAndValidate = true);

    // Shows the members of the four size fields (picture size and runtime size) only, so that
    // text being typed into another field is left alone.
    void showSizeFields();

    // The browse buttons' image.
    void setBrowseImage(const QPixmap& image);
    // The range of up-down control `id` (lower..upper).
    void setSpinRange(int id, int lower, int upper);

    // Set by the first document-to-panel transfer. Until then the members hold the panel's
    // initial values, not the document's, and must never be transferred into the document.
    bool filledFromDocument = false;

    // The picture the view shows while the panel is open.
    PictureHolder displayedPicture;
    // The scrollable height in pixels: 475 once the first-move set-up has run (more when the
    // panel is too short for 475 to reach the bottom of its column).
    int scrollExtent = 0;

    // The most the panel's frame adds to its height, used until the window manager has
    // framed it (then its own frame counts).
    int frameAllowance = 0;
    // Never taller than `available` (a screen's available area) with a frame `frameHeight`
    // tall around it, nor than its column; the scroll bar reaches the rest.
    void fitToScreen(const QRect& available, int frameHeight);

    QWidget* control(int id) const;
    template <typename T> T* control(int id) const { return qobject_cast<T*>(control(id)); }
    CUpDown* upDown(int id) const;
    QScrollBar* scrollBar() const { return scrollBar_; }
    // The scrolling surface the controls sit on (the panel's background).
    QWidget* surface() const { return surface_; }
    bool firstMoveDone() const { return firstMoveDone_; }

signals:
    // The view is to take the fields into the document (a posted panel-to-document transfer).
    void transferRequested();
    // Esc or the close box: the view is to take the fields and close the panel (asked once).
    void closeRequested();
    // The view is to take the fields into the document now, not posted (a new block layout
    // chosen with OK).
    void applyRequested();
    // A picture was loaded by a browse or redraw button from `cp932Name`: the view makes it
    // the stage's picture (graphic1 when `foreground`, else graphic2) as one edit.
    void pictureChosen(bool foreground, const std::string& cp932Name, const PictureHolder& picture);
    // What the view shows from the panel changed (the displayed picture, the cell size).
    void displayChanged();

public slots:
    void accept() override; // Enter: the panel stays open
    void reject() override; // asks for closing (closeRequested)

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void exchange(DataExchange& dx);
    // Takes the fields in, recomputes the runtime height, shows the members and asks the view
    // for the transfer.
    void commitFields();
    void mouseMovedOverBackground();
    void firstMoveSetUp();
    void updateScrollExtent();
    void keepOnScreen();
    void scrollTo(int position);
    void browse(bool foreground);
    void redraw(bool foreground);
    void newBlockLayout();
    // Loads the picture; a picture that loads is handed to the view as an edit of the stage
    // (pictureChosen).
    void loadInto(bool foreground, const std::string& cp932Path,
                  const std::function<void()>& beforeDecoding);
    StageDocument* document_;
    QWidget* surface_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    std::map<int, QWidget*> controls_;
    std::map<int, CUpDown*> upDowns_;
    QPixmap browseImage_;
    int scrollPosition_ = 0;
    bool firstMoveDone_ = false;
    bool placedOnScreen_ = false;
    int titleBarCorrections_ = 0; // moves that brought the frame's top back onto the screen
    int wheelTurn_ = 0;
    bool closeRequested_ = false;
    QWidget* reportedControl_ = nullptr; // the last refused field and its text
    QString reportedText_;
};
