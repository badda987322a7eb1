#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "html/htmlexportvalues.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPainter;
class QRadioButton;
class OwnerDrawButton;

// The HTML export dialog: the page's title, the stage file name the movie loads, the
// quality, the two background colours and the annotation layout. It works on a copy of the
// document's values; the export command copies them in before and back after an OK.
//
// Texts are CP932 bytes as the document holds them. The edits show them converted; a text
// the user leaves untouched keeps its bytes exactly, even one that is not valid CP932.
class ChtmlDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids of the dialog's template, also the controls' object names ("1000", ...).
    enum Control : int {
        IDC_TITLE = 1000,
        IDC_CONFIG_FILE = 1001,
        IDC_COLOR_GAME = 1002,
        IDC_COLOR_HTML = 1003,
        IDC_QUALITY_HIGH = 1044,
        IDC_QUALITY_MEDIUM = 1045,
        IDC_QUALITY_LOW = 1046,
        IDC_ANNOTATION_RIGHT = 1047,
        IDC_ANNOTATION_BOTTOM = 1048,
        IDC_ANNOTATION_NONE = 1049,
        IDC_RUFFLE = 1050,
    };

    explicit ChtmlDlg(QWidget* parent = nullptr);

    // The control with a template id (1 and 2 are OK and Cancel); null for an unknown id.
    QWidget* control(int id) const;

    // The working copy: title, configFileName, quality, annotationPosition and the two
    // colours (0x00BBGGRR).
    HtmlExportValues values;
    // When set, the next draw of a colour button checks the radio buttons that match the
    // quality and the annotation position, reloads the edits, and clears the flag.
    bool initRadioButtons = false;
    // "Ruffle で再生できるようにする": the page also loads Ruffle, the Flash Player emulator,
    // from a "ruffle" folder written beside it. Shown when the dialog opens, taken on OK.
    bool ruffle = false;

public slots:
    void accept() override; // "書き出し"

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Placed {
        QWidget* widget;
        QRect units; // position and size in dialog units
        bool showsText;
    };
    void fitLayout(const std::vector<Placed>& placed, const QFont& dialogFont);
    void drawItem(int id, QPainter& painter, const QRect& rect);
    void chooseColour(std::uint32_t& colour);
    // Data exchange between the edits and the members. Reading fails, with a message, when
    // an edited text has a character that Shift-JIS cannot hold.
    void exchangeToControls();
    bool exchangeFromControls();

    QLineEdit* titleEdit_;
    QLineEdit* configFileEdit_;
    QCheckBox* ruffleCheck_;
    OwnerDrawButton* gameColourButton_;
    OwnerDrawButton* htmlColourButton_;
    QRadioButton* qualityButtons_[3];
    QRadioButton* annotationButtons_[3];
    QButtonGroup* qualityGroup_;
    QButtonGroup* annotationGroup_;
    QWidget* okButton_;
    QWidget* cancelButton_;
    // The texts the edits were loaded with, to tell an untouched edit from an edited one.
    QString shownTitle_;
    QString shownConfigFile_;
};
