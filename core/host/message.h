#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A message core tells the user, as an id and its arguments rather than finished text, so
// that the editor can show it in the interface's language. Each id has one Japanese template
// with numbered places (%1, %2, ...); rkstage and the tests read that text filled in.
enum class MessageId {
    cannotOpenFile,  // "ファイルをオープンできません。"
    cannotOpenNamed, // the same, then the file's name and the reason
    faultNotFound,   // the reasons a file could not be opened, read or written
    faultNoPermission,
    faultIsFolder,
    faultNotRegularFile,
    faultFileTooLarge,
    faultNotJpeg,
    faultDamagedPicture,
    faultPictureTooLarge,
    faultNotStage,
    faultReadError,
    pictureCutShort, // a picture shown as far as it could be read
    pictureDamaged,
    rufflesText,   // Japanese text under Ruffle in an SWF 5 movie
    cellNotNumber, // a text that is no block of cells, and why
    cellTooLarge,
    cellTooWide,
    cellLineEmpty,
    cellTooTall,
    cellRowLength,
    cellNone,
};
inline constexpr std::size_t messageIdCount = std::size_t(MessageId::cellNone) + 1;

// An argument is literal text (UTF-8: a file name, a number) or another message without
// arguments (a reason), which is shown in the same language as the message around it.
using MessageArgument = std::variant<std::string, MessageId>;

struct Message {
    MessageId id = MessageId::cannotOpenFile;
    std::vector<MessageArgument> arguments;

    bool operator==(const Message&) const = default;
};

// The Japanese template of `id` (UTF-8), with %1... where its arguments go.
std::string_view messageTemplate(MessageId id);

// `pattern` with each %N (N from 1 to 9) replaced by argument N, in one pass: an argument
// that itself holds "%1" stays as it is. A place with no argument stays as written.
std::string fillTemplate(std::string_view pattern, const std::vector<std::string>& arguments);

// The message filled in, each template (the message's own and those of its message
// arguments) shown as `shown` gives it: translated, or as it is.
std::string messageText(const Message& message,
                        const std::function<std::string(std::string_view)>& shown);

// The message in Japanese, filled in.
std::string messageText(const Message& message);
