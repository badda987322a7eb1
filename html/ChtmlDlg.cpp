#include "html/ChtmlDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>

#include "html/ownerdrawbutton.h"
#include "panels/dataexchange.h"
#include "panels/dialogs.h"
#include "panels/dialogunits.h"
#include "text/cp932.h"

namespace {

// The words the two radio groups stand for, in button order.
const char* const qualityWords[3] = {"high", "medium", "low"};
const char* const annotationWords[3] = {"right", "bottom", "none"};

QColor toQColor(std::uint32_t colour) {
    return QColor(int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff));
}

std::uint32_t fromQColor(const QColor& c) {
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

QString shown(const std::string& cp932) {
    return QString::fromStdString(cp932ToUtf8Lossy(cp932));
}

// Takes an edit's text back: untouched, the member keeps its bytes; edited, the text is
// converted to CP932. False when it cannot be.
bool takeEdit(const QLineEdit* edit, const QString& shownText, std::string& member) {
    if (edit->text() == shownText)
        return true;
    const auto bytes = utf8ToCp932(edit->text().toStdString());
    if (!bytes)
        return false;
    member = *bytes;
    return true;
}

} // namespace

ChtmlDlg::ChtmlDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("htmlファイルの書き出し"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(panelFont());

    // Controls are laid out in dialog units once all exist (fitLayout).
    std::vector<Placed> placed;
    auto place = [&placed](QWidget* w, int x, int y, int width, int height, int id,
                           bool showsText = false) {
        placed.push_back({w, QRect(x, y, width, height), showsText});
        if (id != 0)
            w->setObjectName(QString::number(id));
        return w;
    };
    auto label = [&](const QString& text, int x, int y, int w, int h) {
        place(new QLabel(text, this), x, y, w, h, 0, true);
    };

    // Created in the template's control order, which is also the tab order.
    auto* ok = new QPushButton(tr("書き出し"), this);
    ok->setDefault(true);
    okButton_ = place(ok, 45, 108, 50, 14, 1);
    cancelButton_ = place(new QPushButton(tr("ｷｬﾝｾﾙ"), this), 101, 108, 50, 14, 2);
    label(tr("ゲーム領域背景色"), 10, 40, 56, 8);
    label(tr("ページ背景色"), 10, 67, 41, 8);
    gameColourButton_ = new OwnerDrawButton(this);
    place(gameColourButton_, 40, 50, 20, 14, IDC_COLOR_GAME);
    htmlColourButton_ = new OwnerDrawButton(this);
    place(htmlColourButton_, 40, 77, 20, 14, IDC_COLOR_HTML);
    titleEdit_ = new QLineEdit(this);
    place(titleEdit_, 35, 5, 115, 14, IDC_TITLE);
    label(tr("タイトル"), 10, 8, 23, 8);
    // The group boxes are drawn under the radio buttons, which are their siblings as in the
    // template; each QButtonGroup makes its three buttons one exclusive group.
    auto* qualityBox = new QGroupBox(QStringLiteral("quality"), this);
    place(qualityBox, 70, 40, 40, 50, 0);
    auto* annotationBox = new QGroupBox(tr("注釈部"), this);
    place(annotationBox, 110, 40, 45, 50, 0);
    qualityGroup_ = new QButtonGroup(this);
    annotationGroup_ = new QButtonGroup(this);
    const char* qualityTexts[3] = {"high", "medium", "low"};
    const int qualityWidths[3] = {25, 35, 25};
    for (int i = 0; i < 3; ++i) {
        qualityButtons_[i] = new QRadioButton(QString::fromUtf8(qualityTexts[i]), this);
        place(qualityButtons_[i], 73, 55 + 10 * i, qualityWidths[i], 8, IDC_QUALITY_HIGH + i, true);
        qualityGroup_->addButton(qualityButtons_[i], IDC_QUALITY_HIGH + i);
    }
    const char* annotationTexts[3] = {QT_TR_NOOP("右"), QT_TR_NOOP("下"), QT_TR_NOOP("なし")};
    for (int i = 0; i < 3; ++i) {
        annotationButtons_[i] = new QRadioButton(tr(annotationTexts[i]), this);
        place(annotationButtons_[i], 115, 55 + 10 * i, 25, 8, IDC_ANNOTATION_RIGHT + i, true);
        annotationGroup_->addButton(annotationButtons_[i], IDC_ANNOTATION_RIGHT + i);
    }
    qualityBox->lower();
    annotationBox->lower();
    configFileEdit_ = new QLineEdit(this);
    place(configFileEdit_, 70, 21, 80, 14, IDC_CONFIG_FILE);
    label(tr("設定ファイル指定"), 10, 25, 52, 8);
    // Below the template's controls: the one control that is not the template's own.
    ruffleCheck_ = new QCheckBox(tr("Ruffle で再生できるようにする"), this);
    place(ruffleCheck_, 10, 95, 145, 10, IDC_RUFFLE, true);
    fitLayout(placed, font());

    QWidget* tabOrder[] = {
        okButton_,          cancelButton_,         gameColourButton_, htmlColourButton_, titleEdit_,
        qualityButtons_[0], annotationButtons_[0], configFileEdit_,   ruffleCheck_};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    gameColourButton_->setDrawFunction(
        [this](QPainter& p, const QRect& r) { drawItem(IDC_COLOR_GAME, p, r); });
    htmlColourButton_->setDrawFunction(
        [this](QPainter& p, const QRect& r) { drawItem(IDC_COLOR_HTML, p, r); });
    connect(gameColourButton_, &QAbstractButton::clicked, this,
            [this] { chooseColour(values.bgcolorGame); });
    connect(htmlColourButton_, &QAbstractButton::clicked, this,
            [this] { chooseColour(values.bgcolorHtml); });
    connect(ok, &QPushButton::clicked, this, &ChtmlDlg::accept);
    connect(static_cast<QPushButton*>(cancelButton_), &QPushButton::clicked, this,
            &ChtmlDlg::reject);
    ok->setFocus();
}

void ChtmlDlg::fitLayout(const std::vector<Placed>& placed, const QFont& dialogFont) {
    // The template's places in this font's dialog units; a control whose text needs more
    // room than the template gives it grows, and what lies right of it on its row moves.
    UnitLayout layout{DialogUnits(dialogFont)};
    for (const Placed& p : placed)
        layout.add(p.widget, p.units);
    setFixedSize(layout.apply(QSize(163, 128)));
}

QWidget* ChtmlDlg::control(int id) const {
    switch (id) {
    case 1:
        return okButton_;
    case 2:
        return cancelButton_;
    case IDC_TITLE:
        return titleEdit_;
    case IDC_CONFIG_FILE:
        return configFileEdit_;
    case IDC_RUFFLE:
        return ruffleCheck_;
    case IDC_COLOR_GAME:
        return gameColourButton_;
    case IDC_COLOR_HTML:
        return htmlColourButton_;
    default:
        if (id >= IDC_QUALITY_HIGH && id <= IDC_QUALITY_LOW)
            return qualityButtons_[id - IDC_QUALITY_HIGH];
        if (id >= IDC_ANNOTATION_RIGHT && id <= IDC_ANNOTATION_NONE)
            return annotationButtons_[id - IDC_ANNOTATION_RIGHT];
        return nullptr;
    }
}

void ChtmlDlg::showEvent(QShowEvent* event) {
    // The edits are loaded when the dialog opens, before anything is drawn.
    if (!event->spontaneous()) {
        exchangeToControls();
        ruffleCheck_->setChecked(ruffle);
    }
    QDialog::showEvent(event);
}

void ChtmlDlg::drawItem(int id, QPainter& painter, const QRect& rect) {
    if (id == IDC_COLOR_GAME)
        painter.fillRect(rect, toQColor(values.bgcolorGame));
    else if (id == IDC_COLOR_HTML)
        painter.fillRect(rect, toQColor(values.bgcolorHtml));

    if (!initRadioButtons)
        return;
    // Only the exact words check a button; any other text leaves its group with nothing
    // checked, and OK then keeps that text.
    for (int i = 0; i < 3; ++i) {
        if (values.quality == qualityWords[i]) {
            qualityButtons_[i]->setChecked(true);
            break;
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (values.annotationPosition == annotationWords[i]) {
            annotationButtons_[i]->setChecked(true);
            break;
        }
    }
    exchangeToControls();
    initRadioButtons = false;
}

void ChtmlDlg::chooseColour(std::uint32_t& colour) {
    const QColor chosen = QColorDialog::getColor(toQColor(colour), this);
    if (!chosen.isValid())
        return;
    colour = fromQColor(chosen);
    update(); // both colour buttons repaint
    gameColourButton_->update();
    htmlColourButton_->update();
}

void ChtmlDlg::exchangeToControls() {
    shownTitle_ = shown(values.title);
    shownConfigFile_ = shown(values.configFileName);
    titleEdit_->setText(shownTitle_);
    configFileEdit_->setText(shownConfigFile_);
}

bool ChtmlDlg::exchangeFromControls() {
    const struct {
        QLineEdit* edit;
        const QString& shownText;
        std::string& member;
        const char* name;
    } edits[] = {
        {titleEdit_, shownTitle_, values.title, QT_TR_NOOP("タイトル")},
        {configFileEdit_, shownConfigFile_, values.configFileName, QT_TR_NOOP("設定ファイル指定")}};
    for (const auto& e : edits) {
        if (!takeEdit(e.edit, e.shownText, e.member)) {
            MessageChoice refusal;
            refusal.caption = windowTitle();
            refusal.text = tr("「%1」に Shift-JIS で書けない文字があります。").arg(tr(e.name));
            Dialogs::current().ask(this, refusal);
            e.edit->setFocus();
            e.edit->selectAll();
            return false;
        }
    }
    return true;
}

void ChtmlDlg::accept() {
    // A group with nothing checked keeps the text it was given.
    if (const int id = qualityGroup_->checkedId(); id != -1)
        values.quality = qualityWords[id - IDC_QUALITY_HIGH];
    if (const int id = annotationGroup_->checkedId(); id != -1)
        values.annotationPosition = annotationWords[id - IDC_ANNOTATION_RIGHT];
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
        owner->update();
    if (!exchangeFromControls())
        return;
    // The page writes the title as it stands (the page's format has no escape), so these
    // characters end up as markup; the user decides with the consequence in view.
    if (values.title.find_first_of("\"<>&") != std::string::npos) {
        MessageChoice warning;
        warning.caption = windowTitle();
        warning.text = tr("タイトルに \" < > & のいずれかが含まれています。"
                          "タイトルはそのままページに書き込まれるため、ページの表示が崩れます。\n\n"
                          "このまま書き出しますか?");
        warning.buttons = QMessageBox::Yes | QMessageBox::No;
        warning.defaultButton = QMessageBox::No;
        const QMessageBox::StandardButton answer = Dialogs::current().ask(this, warning);
        if (answer != QMessageBox::Yes) {
            titleEdit_->setFocus();
            titleEdit_->selectAll();
            return;
        }
    }
    ruffle = ruffleCheck_->isChecked();
    QDialog::accept();
}
