// rkstage html IN OUT [options]: the page the editor's HTML export writes for IN after an
// export dialog that stored the given values. OUT is replaced all at once or not at all.
// With --ruffle the page also loads Ruffle, whose files go into a "ruffle" folder beside OUT.
#include <cstdio>
#include <filesystem>
#include <optional>

#include "command.h"
#include "fileio.h"
#include "html/htmlexportvalues.h"
#include "html/htmlpage.h"
#include "openstage.h"
#include "ruffleaccess.h"
#include "stage/CRKeditDoc.h"
#include "terminalhost.h"
#include "text/cp932.h"
#include "text/terminaltext.h"
#include "text/utf8.h"

namespace {

// What the dialog's radio groups can store.
bool isOneOf(const std::string& value, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (value == w)
            return true;
    return false;
}

struct Options {
    std::vector<std::string> positional;
    std::optional<std::string> title, cnf, quality, annotation;
    std::optional<std::uint32_t> bgcolorGame, bgcolorHtml;
    bool ruffle = false, replaceRuffle = false;
};

// False on bad usage, with the reason in `why`.
bool parse(const std::vector<std::string>& args, Options& o, std::string& why) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            o.positional.push_back(a);
            continue;
        }
        if (a == "--ruffle" || a == "--replace-ruffle") {
            (a == "--ruffle" ? o.ruffle : o.replaceRuffle) = true;
            continue;
        }
        if (i + 1 == args.size()) {
            why = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        if (a == "--title") {
            o.title = v;
        } else if (a == "--cnf") {
            o.cnf = v;
        } else if (a == "--quality") {
            if (!isOneOf(v, {"high", "medium", "low"})) {
                why = "--quality takes high, medium or low";
                return false;
            }
            o.quality = v;
        } else if (a == "--annotation") {
            if (!isOneOf(v, {"right", "bottom", "none"})) {
                why = "--annotation takes right, bottom or none";
                return false;
            }
            o.annotation = v;
        } else if (a == "--bgcolor-game" || a == "--bgcolor-html") {
            std::uint32_t colour;
            if (!parseColourText(v, colour)) {
                why = a + " takes six hexadecimal digits rrggbb";
                return false;
            }
            (a == "--bgcolor-game" ? o.bgcolorGame : o.bgcolorHtml) = colour;
        } else {
            why = "unknown option " + a;
            return false;
        }
    }
    if (o.positional.size() != 2) {
        why = "IN and OUT are needed";
        return false;
    }
    if (o.replaceRuffle && !o.ruffle) {
        why = "--replace-ruffle goes with --ruffle";
        return false;
    }
    return true;
}

// A UTF-8 argument as the CP932 text the dialog would store.
bool toDocumentText(const std::optional<std::string>& utf8, const char* option, std::string& text,
                    std::string& error) {
    if (!utf8)
        return true;
    if (!isValidUtf8(*utf8)) {
        error = std::string(option) + ": the text is not valid UTF-8";
        return false;
    }
    const auto bytes = utf8ToCp932(*utf8);
    if (!bytes) {
        error = std::string(option) + ": the text has a character Shift-JIS cannot hold";
        return false;
    }
    text = *bytes;
    return true;
}

int html(const std::vector<std::string>& args) {
    Options o;
    std::string why;
    if (!parse(args, o, why)) {
        std::fprintf(stderr, "rkstage html: %s\n", why.c_str());
        return usageError("html");
    }
    if (const int refused = refuseOutputThatIsInput("html", o.positional[0], o.positional[1]))
        return refused;
    CRKeditDoc doc;
    TerminalHost host;
    std::string error;
    if (!openStage(o.positional[0], doc, host, error))
        return fail(error);

    // Options left out keep the document's values, as untouched dialog controls do.
    HtmlExportValues values = HtmlExportValues::from(doc);
    if (!toDocumentText(o.title, "--title", values.title, error) ||
        !toDocumentText(o.cnf, "--cnf", values.configFileName, error))
        return fail(error);
    if (o.quality)
        values.quality = *o.quality;
    if (o.annotation)
        values.annotationPosition = *o.annotation;
    if (o.bgcolorGame)
        values.bgcolorGame = *o.bgcolorGame;
    if (o.bgcolorHtml)
        values.bgcolorHtml = *o.bgcolorHtml;
    values.storeInto(doc);

    const std::string& out = o.positional[1];
    bool ruffleAdded = false;
    std::string ruffleFolder;
    if (o.ruffle) {
        const auto ruffle = findRuffle(error);
        if (!ruffle)
            return fail(error);
        // The page's folder gets Ruffle before the page, so a refusal writes nothing.
        const std::string pageFolder = std::filesystem::path(out).parent_path().string();
        std::string message;
        switch (ruffle->copyInto(pageFolder, o.replaceRuffle, message)) {
        case RuffleFolder::Outcome::Copied:
            ruffleAdded = true;
            ruffleFolder =
                (std::filesystem::path(pageFolder.empty() ? "." : pageFolder) / "ruffle").string();
            break;
        case RuffleFolder::Outcome::AlreadyThere:
            break;
        case RuffleFolder::Outcome::Replaced:
            std::fprintf(stderr, "rkstage: %s\n", terminalSafe(message).c_str());
            break;
        case RuffleFolder::Outcome::OtherVersion:
            return fail(message + " (--replace-ruffle replaces it)");
        case RuffleFolder::Outcome::NotRuffle:
        case RuffleFolder::Outcome::Failed:
            return fail(message);
        }
        warnAboutTextEncoding(
            (std::filesystem::path(pageFolder.empty() ? "." : pageFolder) / "rk.swf").string(),
            doc);
    }

    if (!writeFileAtomically(out, composeHtmlPage(doc, o.ruffle), error)) {
        if (ruffleAdded) {
            std::error_code ignored;
            std::filesystem::remove_all(ruffleFolder, ignored);
        }
        return fail(error);
    }
    return 0;
}

[[maybe_unused]] const bool registered = registerCommand(
    {"html",
     "IN OUT [--title T] [--cnf NAME] [--quality Q] [--annotation POS] "
     "[--bgcolor-game RRGGBB] [--bgcolor-html RRGGBB] [--ruffle [--replace-ruffle]]",
     html});

} // namespace
