#pragma once

#include <QString>
#include <QStringList>
#include <QValidator>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QFont;
class QLineEdit;
class QWidget;

// Shows a modal warning with an OK button, the application's title as its caption. Tests
// install a handler of their own so that nothing waits for a click.
void showPanelMessage(const QString& text);
using PanelMessageHandler = std::function<void(const QString&)>;
PanelMessageHandler setPanelMessageHandler(PanelMessageHandler handler);

// The dialogs' font: 9-point "ＭＳ Ｐゴシック", falling back to a Japanese sans-serif.
QFont panelFont();
// The Japanese families of that font that this system has, most preferred first (empty when
// it has none of them).
QStringList japaneseFontFamilies();

// Stage texts are CP932 bytes; these turn them into what a control shows and back.
QString cp932ToDisplay(const std::string& cp932);
// Nothing when a character has no CP932 form.
std::optional<std::string> displayToCp932(const QString& text);
// The distinct characters of `text` that have no CP932 form, in order of appearance.
QString charactersWithoutCp932(const QString& text);
// The message that refuses such characters for the field named `field`.
QString cp932RefusalMessage(const QString& field, const QString& characters);

// Refuses typed, pasted or composed text holding a character that CP932 cannot store, with
// a message naming it, so that nothing is silently replaced when the text is stored. The
// replacement mark that shows undecodable stored bytes stays allowed here; the exchange
// refuses it if the field is edited around it.
class Cp932Validator : public QValidator {
public:
    Cp932Validator(QString field, QObject* parent) : QValidator(parent), field_(std::move(field)) {}
    State validate(QString& input, int& pos) const override;

private:
    QString field_;
};

// Integer entry read through the dialogs' rules; full-width digits typed with the input
// method on count as digits.
std::optional<std::int32_t> readIntegerEntry(const QString& text);

// One pass of dialog data exchange in a fixed field order: controls -> members when saving,
// members -> controls otherwise. When saving, the first field that cannot be read stops the
// pass: it and every later field keep their members, and the failure is kept for the caller.
class DataExchange {
public:
    explicit DataExchange(bool save) : save_(save) {}

    void check(QCheckBox* box, std::int32_t& value);
    void integer(QLineEdit* edit, std::int32_t& value, const QString& field);
    void text(QLineEdit* edit, std::string& value, const QString& field);
    void comboText(QComboBox* combo, std::string& value, const QString& field);

    bool failed() const { return failedControl_ != nullptr; }
    QWidget* failedControl() const { return failedControl_; }
    QString failedText() const { return failedText_; }
    QString message() const { return message_; }

private:
    bool textIn(const QString& shown, std::string& value, const QString& field, QWidget* control);
    void fail(QWidget* control, const QString& text, QString message);

    bool save_;
    QWidget* failedControl_ = nullptr;
    QString failedText_;
    QString message_;
};
