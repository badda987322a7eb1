#include "host/message.h"

#include <iterator>

namespace {

// The templates, in the order of MessageId.
constexpr std::string_view templates[] = {
    "ファイルをオープンできません。",
    "ファイルをオープンできません。\n%1: %2",
    "ファイルが見つかりません。",
    "ファイルを読み書きする権限がありません。",
    "フォルダーです。",
    "通常のファイルではありません。",
    "ファイルが大きすぎます。",
    "JPEG ファイルではありません。",
    "JPEG ファイルが壊れているか、読み込めない形式です。",
    "画像が大きすぎます（67,108,864 画素まで）。",
    "ステージファイルではありません。",
    "ファイルを読み込めません。",
    "%1: 画像ファイルが途中で切れています。読み込めた部分だけを表示します。",
    "%1: 画像ファイルに壊れた部分があります。読み込めたとおりに表示します。",
    "このムービー (SWF 5 以前) では、Ruffle で再生すると日本語の文字が正しく"
    "表示されないことがあります。",
    "%1 行目: 数値ではない項目があります。",
    "%1 行目: 32 ビットに収まらない数値があります。",
    "%1 行目: 100 列を超えています。",
    "%1 行目が空です。",
    "100 行を超えています。",
    "%1 行目の項目の数が 1 行目と違います。",
    "セルがありません。",
};
static_assert(std::size(templates) == messageIdCount);

} // namespace

std::string_view messageTemplate(MessageId id) {
    const auto index = std::size_t(id);
    return index < messageIdCount ? templates[index] : std::string_view();
}

std::string fillTemplate(std::string_view pattern, const std::vector<std::string>& arguments) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto n = std::size_t(pattern[i + 1] - '1');
            if (n < arguments.size()) {
                text += arguments[n];
                ++i;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

std::string messageText(const Message& message,
                        const std::function<std::string(std::string_view)>& shown) {
    std::vector<std::string> arguments;
    arguments.reserve(message.arguments.size());
    for (const MessageArgument& argument : message.arguments) {
        if (const auto* text = std::get_if<std::string>(&argument))
            arguments.push_back(*text);
        else
            arguments.push_back(shown(messageTemplate(std::get<MessageId>(argument))));
    }
    return fillTemplate(shown(messageTemplate(message.id)), arguments);
}

std::string messageText(const Message& message) {
    return messageText(message, [](std::string_view text) { return std::string(text); });
}
