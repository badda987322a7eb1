#include "panels/dataexchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLineEdit>
#include <QTimer>

#include "panels/messagebox.h"
#include "text/cp932.h"
#include "text/integerentry.h"

namespace {
PanelMessageHandler& messageHandler() {
    static PanelMessageHandler handler;
    return handler;
}

constexpr QChar replacementMark(0xFFFD);
} // namespace

void showPanelMessage(const QString& text) {
    if (messageHandler()) {
        messageHandler()(text);
        return;
    }
    showMessage(text);
}

PanelMessageHandler setPanelMessageHandler(PanelMessageHandler handler) {
    std::swap(handler, messageHandler());
    return handler;
}

QStringList japaneseFontFamilies() {
    // Looked up once: a family that is missing is not looked for again in every panel, each
    // time with the font configuration's whole fallback search. The first family the font
    // database lists under its own name is the font, alone. Only when it lists none are the
    // names asked of the font configuration, which may know them as another font's alias.
    // A font installed under one of these names is the one meant, where an alias is the
    // configuration's guess, and each question costs a fallback search.
    // IPA P Gothic has the widths of MS P Gothic, so texts and dialogs keep their Windows
    // lengths, and its TrueType glyphs cost less to load than Noto's CFF ones. The
    // one CP932 character it lacks, "∑", comes from the system's fallback fonts.
    static const QStringList families = [] {
        const QStringList names = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                   QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                   QStringLiteral("Noto Sans JP")};
        const QStringList installed = QFontDatabase::families();
        for (const QString& family : names)
            if (installed.contains(family, Qt::CaseInsensitive))
                return QStringList{family};
        QStringList aliases;
        for (const QString& family : names)
            if (QFontDatabase::hasFamily(family))
                aliases << family;
        return aliases;
    }();
    return families;
}

QFont panelFont() {
    static const QFont font = [] {
        QFont f;
        if (const QStringList families = japaneseFontFamilies(); !families.isEmpty())
            f.setFamilies(families);
        f.setPointSize(9);
        return f;
    }();
    return font;
}

QString cp932ToDisplay(const std::string& cp932) {
    return QString::fromStdString(cp932ToUtf8Lossy(cp932));
}

std::optional<std::string> displayToCp932(const QString& text) {
    return utf8ToCp932(text.toStdString());
}

QString charactersWithoutCp932(const QString& text) {
    QString bad;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (!bad.contains(one) && !utf8ToCp932(one.toStdString()))
            bad += one;
    }
    return bad;
}

QString cp932RefusalMessage(const QString& field, const QString& characters) {
    return QCoreApplication::translate("DataExchange",
                                       "「%1」の文字「%2」は Shift-JIS (CP932) で保存できないため、"
                                       "入力できません。")
        .arg(field, characters);
}

QValidator::State Cp932Validator::validate(QString& input, int&) const {
    QString withoutMarks = input;
    withoutMarks.remove(replacementMark);
    if (displayToCp932(withoutMarks))
        return Acceptable;
    // Shown after the refused input has been undone, outside the edit's own event handling.
    const QString message = cp932RefusalMessage(field_, charactersWithoutCp932(withoutMarks));
    QTimer::singleShot(0, [message] { showPanelMessage(message); });
    return Invalid;
}

std::optional<std::int32_t> readIntegerEntry(const QString& text) {
    return parseIntegerEntry(text.normalized(QString::NormalizationForm_KC).toStdString());
}

void DataExchange::fail(QWidget* control, const QString& text, QString message) {
    failedControl_ = control;
    failedText_ = text;
    message_ = std::move(message);
}

void DataExchange::check(QCheckBox* box, std::int32_t& value) {
    if (failed())
        return;
    if (save_)
        value = box->isChecked() ? 1 : 0;
    else
        box->setChecked(value != 0);
}

void DataExchange::integer(QLineEdit* edit, std::int32_t& value, const QString& field) {
    if (failed())
        return;
    if (!save_) {
        const QString shown = QString::number(value);
        if (edit->text() != shown)
            edit->setText(shown);
        return;
    }
    if (const auto v = readIntegerEntry(edit->text()))
        value = *v;
    else
        fail(edit, edit->text(),
             QCoreApplication::translate("DataExchange", "「%1」: 整数を入力してください。")
                 .arg(field));
}

bool DataExchange::textIn(const QString& shown, std::string& value, const QString& field,
                          QWidget* control) {
    // Text that still shows the member unchanged keeps its exact bytes, even bytes that are
    // not valid CP932 and show as replacement marks.
    if (shown == cp932ToDisplay(value))
        return true;
    if (auto bytes = displayToCp932(shown)) {
        value = std::move(*bytes);
        return true;
    }
    fail(control, shown, cp932RefusalMessage(field, charactersWithoutCp932(shown)));
    return false;
}

void DataExchange::text(QLineEdit* edit, std::string& value, const QString& field) {
    if (failed())
        return;
    if (save_) {
        textIn(edit->text(), value, field, edit);
        return;
    }
    const QString shown = cp932ToDisplay(value);
    if (edit->text() != shown)
        edit->setText(shown);
}

void DataExchange::comboText(QComboBox* combo, std::string& value, const QString& field) {
    if (failed())
        return;
    if (save_) {
        textIn(combo->currentText(), value, field, combo);
        return;
    }
    // The exact text: a list entry that merely starts with it ("1" and "100%") is not taken.
    const QString shown = cp932ToDisplay(value);
    const int index = combo->findText(shown, Qt::MatchExactly);
    if (index >= 0 && combo->currentIndex() != index)
        combo->setCurrentIndex(index);
    if (combo->currentText() != shown)
        combo->setEditText(shown);
}
