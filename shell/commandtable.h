#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>

#include <functional>

class CRKeditView;

// The application's commands by id: for each, the one handler that runs it, when it can
// act, and its keys. The menus, the toolbar and the keys reach every command through here; a
// command without a handler stays in its menus, greyed.
class CommandTable {
public:
    // Binds `id` to `run`, enabled while `enabled` says so (always, without it). A second
    // definition of an id replaces the first.
    void define(int id, std::function<void()> run, std::function<bool()> enabled = {});

    // Whether `id` has a handler.
    bool handles(int id) const { return commands_.contains(id); }
    // Whether `id` can act now: it has a handler and its condition holds.
    bool enabled(int id) const;
    // Runs the handler of `id` (nothing for an id without one).
    void run(int id) const;

    // The keys of `id`, in the order of the accelerator table.
    static QList<QKeySequence> keys(int id);

    // Told after each definition (the frame shows the commands' states anew).
    std::function<void()> changed;

private:
    struct Command {
        std::function<void()> run;
        std::function<bool()> enabled;
    };
    QHash<int, Command> commands_;
};

// The stage window's own commands (CRKeditView::commands()): each runs on the view `view`
// gives, and can act while there is one.
void defineViewCommands(CommandTable& table, std::function<CRKeditView*()> view);
