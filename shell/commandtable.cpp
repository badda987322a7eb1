#include "shell/commandtable.h"

#include "shell/menuresources.h"
#include "view/CRKeditView.h"

void CommandTable::define(int id, std::function<void()> run, std::function<bool()> enabled) {
    commands_.insert(id, Command{std::move(run), std::move(enabled)});
    if (changed)
        changed();
}

bool CommandTable::enabled(int id) const {
    const auto it = commands_.constFind(id);
    if (it == commands_.cend())
        return false;
    return !it->enabled || it->enabled();
}

void CommandTable::run(int id) const {
    const auto it = commands_.constFind(id);
    if (it != commands_.cend() && it->run)
        it->run();
}

QList<QKeySequence> CommandTable::keys(int id) {
    QList<QKeySequence> keys;
    for (const Accelerator& accelerator : acceleratorTable())
        if (accelerator.id == id)
            keys.append(accelerator.keys);
    return keys;
}

void defineViewCommands(CommandTable& table, std::function<CRKeditView*()> view) {
    for (const CRKeditView::Command& command : CRKeditView::commands()) {
        const auto handler = command.run;
        table.define(
            command.id,
            [view, handler] {
                if (CRKeditView* v = view())
                    (v->*handler)();
            },
            [view] { return view() != nullptr; });
    }
}
