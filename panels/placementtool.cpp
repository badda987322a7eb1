#include "panels/placementtool.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "document/coretexts.h"
#include "panels/dataexchange.h"
#include "panels/dialogunits.h"
#include "panels/panelpictures.h"
#include "stage/blockkind.h"

namespace {
// Radio button -> value of the view member it sets.
int referenceValue(int id) {
    switch (id) {
    case CPlacementTool::IDC_REFERENCE_OPAQUE:
        return 2; // opaque
    case CPlacementTool::IDC_REFERENCE_NOTPEN:
        return 1; // NOTPEN
    case CPlacementTool::IDC_REFERENCE_HIDDEN:
        return 0; // hidden
    default:
        return -1;
    }
}

int gridValue(int id) {
    switch (id) {
    case CPlacementTool::IDC_GRID_LINES:
        return 2; // lines
    case CPlacementTool::IDC_GRID_DOTS:
        return 1; // dots
    case CPlacementTool::IDC_GRID_HIDDEN:
        return 0; // hidden
    default:
        return -1;
    }
}
} // namespace

CPlacementTool::CPlacementTool(const QList<ToolEntry>& tools) : QDialog(nullptr) {
    setWindowTitle(tr("配置ツール"));
    setFont(panelFont());
    build(tools);
}

void CPlacementTool::build(const QList<ToolEntry>& tools) {
    const DialogUnits du(font());
    UnitLayout layout(du);
    setMouseTracking(true);
    installEventFilter(this);

    // Every control is a direct child, as on a dialog template; group boxes, labels and
    // pictures let the pointer through to the tool's background.
    const auto through = [](QWidget* w) { w->setAttribute(Qt::WA_TransparentForMouseEvents); };
    const auto group = [&](const QString& title, int x, int y, int w, int h) {
        auto* g = new QGroupBox(title, this);
        layout.add(g, QRect(x, y, w, h));
        through(g);
        g->lower();
    };
    QButtonGroup* currentGroup = nullptr;
    const auto radio = [&](int id, const QString& text, int x, int y, int w, bool enabled,
                           bool startsGroup) {
        auto* r = new QRadioButton(text, this);
        r->setObjectName(QStringLiteral("c%1").arg(id));
        layout.add(r, QRect(x, y, w, 10));
        r->setEnabled(enabled);
        r->setFocusPolicy(Qt::ClickFocus); // not tab stops
        // Automatic radio buttons: a click checks its button and clears the rest of its group.
        if (startsGroup) {
            currentGroup = new QButtonGroup(this);
            currentGroup->setExclusive(true);
        }
        currentGroup->addButton(r);
        // A choice takes effect when it is made; the pointer's moves over the tool also set
        // the view, but only after the click has been handled.
        connect(r, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                poll();
        });
        return r;
    };

    group(tr("ブロック種"), 5, 5, 155, 80);
    struct KindPlace {
        int x, y, w;    // the radio's place and width
        QPoint picture; // its picture's place
    };
    const KindPlace places[] = {
        {20, 20, 53, {10, 20}}, {20, 35, 64, {10, 35}}, {20, 50, 64, {10, 50}},
        {20, 65, 60, {10, 65}}, {96, 20, 53, {85, 20}}, {95, 35, 60, {85, 35}},
        {96, 50, 53, {85, 50}}, {96, 65, 42, {85, 65}},
    };
    for (int kind = BlockKinds::first; kind <= BlockKinds::last; ++kind) {
        const KindPlace& place = places[kind - 1];
        const QString name = coreText(BlockKinds::find(kind)->name);
        QRadioButton* r = radio(IDC_KIND_NORMAL + kind - 1, name, place.x, place.y, place.w, true,
                                kind == BlockKinds::first);
        r->setToolTip(tr("%1（キー %2）").arg(name).arg(kind));
        auto* picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("kind%1").arg(kind));
        picture->setPixmap(blockKindPicture(kind));
        layout.add(picture, QRect(place.picture, QSize(0, 0))); // its picture's size
        through(picture);
    }

    group(tr("ブロック参照表示"), 5, 90, 60, 45);
    radio(IDC_REFERENCE_OPAQUE, tr("不透明"), 10, 100, 37, true, true);
    radio(IDC_REFERENCE_NOTPEN, QStringLiteral("NOTPEN"), 10, 110, 42, true, false);
    radio(IDC_REFERENCE_HIDDEN, tr("非表示"), 10, 120, 37, true, false);
    group(tr("グリッド"), 65, 90, 40, 45);
    radio(IDC_GRID_LINES, tr("線表示"), 70, 100, 30, true, true);
    radio(IDC_GRID_DOTS, tr("点表示"), 70, 110, 30, true, false);
    radio(IDC_GRID_HIDDEN, tr("非表示"), 70, 120, 30, true, false);

    auto* count = new QLabel(tr("ブロック数"), this);
    layout.add(count, QRect(110, 105, 0, 0));
    through(count);
    auto* measure = new QPushButton(tr("計測"), this);
    measure->setObjectName(QStringLiteral("c1002"));
    layout.add(measure, QRect(115, 115, 20, 14));
    measure->setAutoDefault(false);
    connect(measure, &QPushButton::clicked, this, &CPlacementTool::countRequested);
    auto* result = new QLineEdit(this);
    result->setObjectName(QStringLiteral("c1000"));
    layout.addNumeric(result, QRect(135, 115, 20, 14));
    result->setReadOnly(true);

    // The drawing tools, two columns of radios under the display choices.
    tools_ = int(tools.size());
    int height = 139;
    if (!tools.isEmpty()) {
        const int rowsNeeded = (tools_ + 1) / 2;
        group(tr("描画ツール"), 5, 139, 155, 12 + 12 * rowsNeeded);
        for (int k = 0; k < tools_; ++k) {
            const ToolEntry& tool = tools[k];
            const QString text = QStringLiteral("%1 (%2)").arg(tool.name, tool.key);
            QRadioButton* r = radio(IDC_TOOL_FIRST + k, text, k % 2 == 0 ? 12 : 85,
                                    150 + 12 * (k / 2), 70, true, k == 0);
            r->setToolTip(tr("%1（キー %2）").arg(tool.name, tool.key));
            r->setProperty("toolKey", int(tool.key.toUpper().unicode())); // Qt::Key_A is 'A'.
            connect(r, &QRadioButton::toggled, this, [this, k](bool checked) {
                if (checked)
                    emit toolChosen(k);
            });
        }
        height = 139 + 16 + 12 * rowsNeeded;
    }
    setFixedSize(layout.apply(QSize(163, height)));
}

void CPlacementTool::showCount(int total, const QString& breakdown) {
    if (auto* field = qobject_cast<QLineEdit*>(control(IDC_BLOCK_COUNT))) {
        field->setText(QString::number(total));
        field->setToolTip(breakdown);
    }
}

QRadioButton* CPlacementTool::radio(int id) const {
    return findChild<QRadioButton*>(QStringLiteral("c%1").arg(id), Qt::FindDirectChildrenOnly);
}

QWidget* CPlacementTool::control(int id) const {
    return findChild<QWidget*>(QStringLiteral("c%1").arg(id), Qt::FindDirectChildrenOnly);
}

void CPlacementTool::check(int id) {
    if (QRadioButton* r = radio(id))
        r->setChecked(true);
}

void CPlacementTool::initialise(int blockKind, int referenceDisplay, int gridMode, int tool) {
    if (blockKind >= 1 && blockKind <= 8)
        check(IDC_KIND_NORMAL + blockKind - 1);
    if (tool >= 0 && tool < tools_)
        check(IDC_TOOL_FIRST + tool);
    for (int id = IDC_REFERENCE_OPAQUE; id <= IDC_REFERENCE_HIDDEN; ++id)
        if (referenceValue(id) == referenceDisplay)
            check(id);
    for (int id = IDC_GRID_LINES; id <= IDC_GRID_HIDDEN; ++id)
        if (gridValue(id) == gridMode)
            check(id);
}

int CPlacementTool::checkedRadio(int first, int last) const {
    for (int id = first; id <= last; ++id)
        if (QRadioButton* r = radio(id); r && r->isChecked())
            return id;
    return 0;
}

void CPlacementTool::poll() {
    const int k = checkedRadio(IDC_KIND_NORMAL, IDC_KIND_GROUP);
    const int r = checkedRadio(IDC_REFERENCE_OPAQUE, IDC_REFERENCE_HIDDEN);
    const int g = checkedRadio(IDC_GRID_LINES, IDC_GRID_HIDDEN);
    emit choicesPolled(k ? k - IDC_KIND_NORMAL + 1 : 0, r ? referenceValue(r) : -1,
                       g ? gridValue(g) : -1);
}

bool CPlacementTool::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::MouseMove)
        poll();
    return QDialog::eventFilter(watched, event);
}

void CPlacementTool::keyPressEvent(QKeyEvent* event) {
    // The kinds' digits and the tools' letters choose as their radios do.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier) {
        const int key = event->key();
        if (key >= Qt::Key_1 && key <= Qt::Key_8) {
            check(IDC_KIND_NORMAL + key - Qt::Key_1);
            return;
        }
        for (int k = 0; k < tools_; ++k)
            if (QRadioButton* r = radio(IDC_TOOL_FIRST + k);
                r && key == r->property("toolKey").toInt()) {
                check(IDC_TOOL_FIRST + k);
                return;
            }
    }
    // Enter ends the tool like Esc does: it is hidden, and its view still holds it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
